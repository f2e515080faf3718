#include "formats/StringFile.h"

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "base/FileUtils.h"
#include "base/FormatError.h"
#include "base/TextEncoding.h"
#include "base/Windows1252.h"

#include <algorithm>
#include <stdexcept>

namespace pitwall {

namespace {

constexpr char kCaret = '^';
// The text form of a string file the game reads (at most 100,000 bytes) is a
// few hundred kilobytes at the very most, escapes and UTF-8 included; the cap
// keeps a wrong file from being read whole and split into millions of lines.
constexpr std::uint64_t kMaxTextFileBytes = 1024ull * 1024;

} // namespace

std::vector<std::string> ParseStringFile(std::span<const std::uint8_t> bytes)
{
    std::vector<std::string> strings;
    std::string current;
    ByteReader r(bytes);
    r.seek(std::min<std::size_t>(4, bytes.size()));
    while (!r.atEnd()) {
        std::uint8_t b = r.u8();
        if (b == 0) {
            strings.push_back(std::move(current));
            current.clear();
        } else {
            current += static_cast<char>(b);
        }
    }
    return strings;
}

std::vector<std::uint8_t> BuildStringFile(const std::vector<std::string>& strings)
{
    ByteWriter w;
    w.u32(kStringFileHeader);
    for (const std::string& s : strings) {
        std::string_view text(s.data(), std::min(s.size(), kMaxStringLength));
        // A 0 byte inside a string would split it in two on reading.
        for (char c : text)
            if (c != 0)
                w.u8(static_cast<std::uint8_t>(c));
        w.u8(0);
    }
    return w.take();
}

void ReadStringFile(std::string_view file, std::vector<std::string>& strings)
{
    RequireFile(file);
    if (FileSizeOf(file) > kMaxStringFileBytes)
        throw FormatError(738, {});
    // A file the game would refuse leaves the list as it was: half a
    // language is worse than the previous one.
    std::vector<std::string> read = ParseStringFile(ReadWholeFile(file, kMaxStringFileBytes));
    if (read.size() < kMinStringCount)
        throw FormatError(766, {});
    strings = std::move(read);
}

void WriteStringFile(std::string_view file, const std::vector<std::string>& strings)
{
    RequireStringsFit(strings);
    auto built = BuildStringFile(strings);
    RequireStringFileFits(built);
    WriteWholeFile(file, built);
}

std::string EscapeTextLine(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        auto b = static_cast<unsigned char>(c);
        if (b < 32) {
            out += kCaret;
            out += static_cast<char>(b + 64);
        } else {
            out += c;
        }
    }
    return out;
}

std::string UnescapeTextLine(std::string_view line)
{
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == kCaret && i + 1 < line.size()) {
            auto next = static_cast<unsigned char>(line[i + 1]);
            if (next >= 64 && next <= 95) {
                out += static_cast<char>(next - 64);
                ++i;
                continue;
            }
        }
        out += line[i];
    }
    return out;
}

std::string BuildTextForm(const std::vector<std::string>& strings)
{
    std::string out;
    for (const std::string& s : strings) {
        out += EscapeTextLine(s);
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> ParseTextForm(std::string_view text)
{
    std::vector<std::string> strings;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        strings.push_back(UnescapeTextLine(text.substr(start, i - start)));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        strings.push_back(UnescapeTextLine(text.substr(start)));
    return strings;
}

std::vector<std::string> ReadTextFile(std::string_view file)
{
    auto bytes = ReadWholeFile(file, kMaxTextFileBytes);
    std::string text(bytes.begin(), bytes.end());
    if (IsUtf8Text(text)) {
        UnstorableCharacter unstorable;
        auto converted = Utf8ToWindows1252Exactly(WithoutUtf8Bom(text), &unstorable);
        if (!converted)
            throw FormatError(kUnstorableTextFileCharacterText,
                              Args(std::string(file), unstorable.line, unstorable.column, unstorable.character));
        text = std::move(*converted);
    }
    return ParseTextForm(text);
}

void WriteTextFile(std::string_view file, const std::vector<std::string>& strings, TextFileEncoding encoding)
{
    std::string text = BuildTextForm(strings);
    if (encoding == TextFileEncoding::Utf8)
        text = Windows1252ToUtf8(text);
    WriteWholeFile(file, std::vector<std::uint8_t>(text.begin(), text.end()));
}

int FirstOverlongText(const std::vector<std::string>& strings)
{
    for (std::size_t i = 0; i < strings.size(); ++i)
        if (strings[i].size() > kMaxStringLength)
            return static_cast<int>(i);
    return -1;
}

void RequireStringsFit(const std::vector<std::string>& strings)
{
    int n = FirstOverlongText(strings);
    if (n >= 0)
        throw std::length_error("Text number " + std::to_string(n) + " has "
                                + std::to_string(strings[static_cast<std::size_t>(n)].size())
                                + " characters; the game reads at most 2048. Nothing was written");
}

void RequireStringFileFits(const std::vector<std::uint8_t>& built)
{
    if (built.size() > kMaxStringFileBytes)
        throw std::length_error("The texts make a string file of " + std::to_string(built.size()) + " bytes, "
                                + std::to_string(built.size() - kMaxStringFileBytes)
                                + " more than the 100000 the game reads; nothing was written");
}

} // namespace pitwall
