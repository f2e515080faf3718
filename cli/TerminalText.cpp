#include "TerminalText.h"

#include "base/Windows1252.h"

#include <cstdio>

namespace pitwall::cli {

namespace {

void AppendEscaped(std::string& out, unsigned value)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%02X", value & 0xFFu);
    out += buf;
}

// Length of the well-formed UTF-8 sequence at `at` (shortest form, no
// surrogates, at most U+10FFFF), 0 when there is none.
std::size_t SequenceLength(std::string_view s, std::size_t at, char32_t& codePoint)
{
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char lead = byte(at);
    std::size_t length;
    char32_t min;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        min = 0x80;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = 0x800;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (s.size() - at < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(at + i) & 0x3F);
    }
    if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

enum class Backslash { Escaped, Kept };
enum class LineBreak { Escaped, Space };

std::string Escape(std::string_view utf8, Backslash backslash, LineBreak lineBreak)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            if (lineBreak == LineBreak::Space && (c == '\n' || c == '\r'))
                out += ' ';
            else if (c == '\\' && backslash == Backslash::Escaped)
                out += "\\\\";
            else if (c < 0x20 || c == 0x7F)
                AppendEscaped(out, c);
            else
                out += static_cast<char>(c);
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        std::size_t length = SequenceLength(utf8, i, codePoint);
        if (length == 0) {
            AppendEscaped(out, c);
            ++i;
        } else if (codePoint <= 0x9F) {
            AppendEscaped(out, static_cast<unsigned>(codePoint)); // a C1 control
            i += length;
        } else {
            out.append(utf8.substr(i, length));
            i += length;
        }
    }
    return out;
}

} // namespace

std::string TerminalText(std::string_view utf8) { return Escape(utf8, Backslash::Escaped, LineBreak::Escaped); }

std::string TerminalGameText(std::string_view windows1252) { return TerminalText(Windows1252ToUtf8(windows1252)); }

std::string TerminalGamePath(std::string_view windows1252)
{
    return Escape(Windows1252ToUtf8(windows1252), Backslash::Kept, LineBreak::Escaped);
}

std::string TerminalLine(std::string_view utf8) { return Escape(utf8, Backslash::Kept, LineBreak::Space); }

} // namespace pitwall::cli
