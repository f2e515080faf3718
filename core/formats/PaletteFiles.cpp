#include "formats/PaletteFiles.h"

#include "base/ByteReader.h"
#include "base/FileUtils.h"
#include "formats/Bmp.h"
#include "formats/Png.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <vector>

namespace pitwall {

namespace {

// Larger than any palette file; a BMP or PNG only needs its header and
// colour table, but is decoded whole, so the picture limits apply too.
constexpr std::uint64_t kMaxPaletteFileBytes = 64 * 1024 * 1024;

Palette FromColours(const std::vector<Pixel>& colours, const std::string& kind)
{
    if (colours.size() < Palette::kSize)
        throw FormatError(kind + " holds " + std::to_string(colours.size()) + " colours; a game palette has 256");
    std::array<Pixel, Palette::kSize> pixels{};
    std::copy_n(colours.begin(), Palette::kSize, pixels.begin());
    return Palette(pixels);
}

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view text)
{
    return bytes.size() >= text.size()
        && std::equal(text.begin(), text.end(), bytes.begin(),
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

// RIFF "PAL " with a "data" chunk: version 0x0300, the count, then red,
// green, blue and a flags byte per entry. Other chunks are skipped.
Palette DecodeRiffPal(std::span<const std::uint8_t> bytes)
{
    ByteReader r(bytes);
    r.seek(12);
    while (r.remaining() >= 8) {
        auto id = r.bytes(4);
        const std::uint32_t size = r.u32();
        if (!std::equal(id.begin(), id.end(), "data")) {
            r.skip(std::min<std::size_t>(size + (size & 1u), r.remaining()));
            continue;
        }
        if (size < 4 || size > r.remaining())
            throw FormatError("RIFF palette: the colour chunk of " + std::to_string(size) + " bytes does not fit");
        r.skip(2); // version
        const std::uint16_t count = r.u16();
        if (static_cast<std::size_t>(count) * 4 > size - 4)
            throw FormatError("RIFF palette: " + std::to_string(count) + " colours claimed, the chunk holds fewer");
        std::vector<Pixel> colours;
        for (unsigned i = 0; i < count; ++i) {
            auto e = r.bytes(4);
            colours.push_back(MakePixel(e[0], e[1], e[2]));
        }
        return FromColours(colours, "the RIFF palette");
    }
    throw FormatError("RIFF palette without a colour chunk");
}

// Adobe colour table: 256 x red, green, blue; the 772-byte kind adds a
// big-endian count (and a transparent index) after them.
Palette DecodeAct(std::span<const std::uint8_t> bytes)
{
    std::size_t count = Palette::kSize;
    if (bytes.size() == 772)
        count = static_cast<std::size_t>(bytes[768] << 8 | bytes[769]);
    std::vector<Pixel> colours;
    for (std::size_t i = 0; i < std::min<std::size_t>(count, Palette::kSize); ++i)
        colours.push_back(MakePixel(bytes[i * 3], bytes[i * 3 + 1], bytes[i * 3 + 2]));
    return FromColours(colours, "the Adobe colour table");
}

std::string_view TrimText(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// GIMP: "GIMP Palette", optional "Name:" and "Columns:" lines and "#"
// comments, then "red green blue [name]" per line.
Palette DecodeGpl(std::string_view text)
{
    std::vector<Pixel> colours;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t cut = text.find('\n');
        std::string_view line = TrimText(text.substr(0, cut));
        text = cut == std::string_view::npos ? std::string_view() : text.substr(cut + 1);
        if (++lineNumber == 1 || line.empty() || line.front() == '#' || line.starts_with("Name:")
            || line.starts_with("Columns:"))
            continue;
        int rgb[3];
        for (int& component : rgb) {
            line = TrimText(line);
            auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), component);
            if (ec != std::errc() || component < 0 || component > 255)
                throw FormatError("GIMP palette line " + std::to_string(lineNumber) + " does not start with three colour values 0..255");
            line.remove_prefix(static_cast<std::size_t>(end - line.data()));
        }
        colours.push_back(MakePixel(rgb[0], rgb[1], rgb[2]));
    }
    return FromColours(colours, "the GIMP palette");
}

Palette FromPicture(const Image& picture, const std::string& kind)
{
    if (picture.depth() > 8 || picture.colorTable().empty())
        throw FormatError(kind + " has no colour table (a picture with 256 colours is needed)");
    return FromColours(picture.colorTable(), "the " + kind + "'s colour table");
}

} // namespace

Palette DecodePaletteFile(std::span<const std::uint8_t> bytes)
{
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (StartsWith(bytes, "RIFF") && bytes.size() >= 12 && std::string_view(text.substr(8, 4)) == "PAL ")
        return DecodeRiffPal(bytes);
    if (StartsWith(bytes, "BM"))
        return FromPicture(DecodeBmp(bytes), "BMP");
    if (StartsWith(bytes, "\x89PNG"))
        return FromPicture(DecodePng(bytes), "PNG");
    if (StartsWith(bytes, "GIMP Palette"))
        return DecodeGpl(text);
    if (StartsWith(bytes, "JASC-PAL"))
        return ParsePalette(text);
    if (bytes.size() == 768 || bytes.size() == 772)
        return DecodeAct(bytes);
    // The program's own palettes are JASC-PAL text whose first three lines
    // are not read; anything else that is not text is no palette.
    if (std::any_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b < 9 || (b > 13 && b < 32); }))
        throw FormatError("not a palette file (JASC-PAL, RIFF PAL, Adobe ACT, GIMP GPL, or an 8-bit BMP or PNG)");
    return ParsePalette(text);
}

Palette ReadPaletteFile(const std::string& fileName)
{
    auto bytes = ReadWholeFile(fileName, kMaxPaletteFileBytes);
    try {
        return DecodePaletteFile(bytes);
    } catch (const FormatError& e) {
        throw FormatError(fileName + ": " + e.what());
    }
}

bool IsStandInPalette(const Palette& palette)
{
    // FNV-1a over red, green and blue of the 256 entries of the shipped
    // `GP3 Palette.pal` (a test keeps the two together).
    constexpr std::uint64_t kStandInFingerprint = 0xc1de6930d7346218u;
    std::uint64_t h = 0xcbf29ce484222325u;
    for (Pixel p : palette.pixels())
        for (int component : {RedOf(p), GreenOf(p), BlueOf(p)}) {
            h ^= static_cast<std::uint64_t>(component);
            h *= 0x100000001b3u;
        }
    return h == kStandInFingerprint;
}

} // namespace pitwall
