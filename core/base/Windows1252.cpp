#include "base/Windows1252.h"

#include "base/TextEncoding.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace pitwall {

namespace {

// Code points of bytes 0x80..0x9F; the undefined bytes keep their own value.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CodePointOf(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F)
        return kHighControls[b - 0x80];
    return b;
}

int ByteOf(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == cp)
            return static_cast<int>(0x80 + i);
    return -1;
}

} // namespace

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | ((cp >> 12) & 0x0F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes)
        AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
    return out;
}

namespace {

// Length of the well-formed UTF-8 multi-byte sequence at `i` (shortest form,
// no surrogates, at most U+10FFFF), 0 when there is none.
std::size_t Utf8SequenceAt(std::string_view s, std::size_t i)
{
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char lead = byte(i);
    std::size_t len = lead >= 0xC2 && lead <= 0xDF ? 2
        : lead >= 0xE0 && lead <= 0xEF             ? 3
        : lead >= 0xF0 && lead <= 0xF4             ? 4
                                                   : 0;
    if (len == 0 || i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k)
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    unsigned char second = byte(i + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90)
        || (lead == 0xF4 && second >= 0x90))
        return 0;
    return len;
}

} // namespace

std::string MessageTextToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (std::size_t i = 0; i < text.size();) {
        if (std::size_t len = Utf8SequenceAt(text, i)) {
            out.append(text.substr(i, len));
            i += len;
        } else {
            AppendUtf8(out, CodePointOf(static_cast<unsigned char>(text[i])));
            ++i;
        }
    }
    return out;
}

std::string Utf8ToWindows1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t len = lead < 0x80 ? 1
            : (lead >> 5) == 0x6      ? 2
            : (lead >> 4) == 0xE      ? 3
            : (lead >> 3) == 0x1E     ? 4
                                      : 0;
        if (len == 0 || i + len > utf8.size()) {
            out += '?';
            ++i;
            continue;
        }
        char32_t cp = len == 1 ? lead : len == 2 ? (lead & 0x1F) : len == 3 ? (lead & 0x0F) : (lead & 0x07);
        bool ok = true;
        for (std::size_t k = 1; k < len; ++k) {
            auto cont = static_cast<unsigned char>(utf8[i + k]);
            if ((cont & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cont & 0x3F);
        }
        if (!ok) {
            out += '?';
            ++i;
            continue;
        }
        int b = ByteOf(cp);
        out += b < 0 ? '?' : static_cast<char>(b);
        i += len;
    }
    return out;
}

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

char32_t DecodeUtf8(std::string_view s, std::size_t at, std::size_t len)
{
    auto lead = static_cast<unsigned char>(s[at]);
    char32_t cp = len == 1 ? lead : len == 2 ? (lead & 0x1F) : len == 3 ? (lead & 0x0F) : (lead & 0x07);
    for (std::size_t k = 1; k < len; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(s[at + k]) & 0x3F);
    return cp;
}

} // namespace

std::string_view WithoutUtf8Bom(std::string_view bytes)
{
    return bytes.substr(0, 3) == kUtf8Bom ? bytes.substr(3) : bytes;
}

bool IsUtf8Text(std::string_view bytes)
{
    if (bytes.substr(0, 3) == kUtf8Bom)
        return true;
    bool high = false;
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t len = Utf8SequenceAt(bytes, i);
        if (len == 0)
            return false;
        high = true;
        i += len;
    }
    return high;
}

std::optional<std::string> Utf8ToWindows1252Exactly(std::string_view utf8, UnstorableCharacter* unstorable)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t len = lead < 0x80 ? 1 : Utf8SequenceAt(utf8, i);
        const int b = len == 0 ? -1 : ByteOf(DecodeUtf8(utf8, i, len));
        if (b < 0) {
            if (unstorable)
                *unstorable = {line, column, std::string(utf8.substr(i, std::max<std::size_t>(len, 1)))};
            return std::nullopt;
        }
        out += static_cast<char>(b);
        if (lead == '\n' || (lead == '\r' && (i + 1 >= utf8.size() || utf8[i + 1] != '\n'))) {
            ++line;
            column = 1;
        } else if (lead != '\r') {
            ++column;
        }
        i += len;
    }
    return out;
}

char UpperWindows1252(char c)
{
    auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z')
        return static_cast<char>(b - 32);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) // à..þ except ÷
        return static_cast<char>(b - 32);
    if (b == 0x9A || b == 0x9C || b == 0x9E) // š œ ž
        return static_cast<char>(b - 16);
    if (b == 0xFF) // ÿ
        return static_cast<char>(0x9F);
    return c;
}

std::string UpperWindows1252(std::string_view text)
{
    std::string out(text);
    for (auto& c : out)
        c = UpperWindows1252(c);
    return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperWindows1252(a[i]) != UpperWindows1252(b[i]))
            return false;
    return true;
}

} // namespace pitwall
