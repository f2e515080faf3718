#include "formats/Palette.h"

#include "base/ByteReader.h"
#include "base/FileUtils.h"

#include <algorithm>
#include <charconv>

namespace pitwall {

Palette::Palette() { rebuildLookup(); }

Palette::Palette(const std::array<Pixel, kSize>& pixels) : pixels_(pixels)
{
    for (Pixel& p : pixels_)
        p &= 0xFFFFFF;
    rebuildLookup();
}

void Palette::setColor(int index, ColorRef color)
{
    pixels_[static_cast<std::size_t>(index)] = PixelFromColorRef(color & 0xFFFFFF);
    rebuildLookup();
}

void Palette::rebuildLookup()
{
    lookup_.clear();
    for (int i = 0; i < kSize; ++i)
        lookup_.emplace_back(pixels_[static_cast<std::size_t>(i)], static_cast<std::uint8_t>(i));
    // Stable, so among equal colours the lowest index comes first.
    std::stable_sort(lookup_.begin(), lookup_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

int Palette::findPixel(Pixel p) const
{
    auto it = std::lower_bound(lookup_.begin(), lookup_.end(), p,
                               [](const auto& entry, Pixel value) { return entry.first < value; });
    return (it != lookup_.end() && it->first == p) ? it->second : -1;
}

int Palette::exactIndexOfPixel(Pixel p) const { return std::max(findPixel(p), 0); }

int Palette::nearestIndexOfPixel(Pixel p) const { return NearestIndex(pixels_, p); }

namespace {

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

int ParseComponent(std::string_view token, int lineNumber)
{
    int value = -1;
    auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (ec != std::errc() || end != token.data() + token.size() || value < 0 || value > 255)
        throw FormatError("palette line " + std::to_string(lineNumber) + ": \"" + std::string(token)
                          + "\" is not a colour value 0..255");
    return value;
}

} // namespace

Palette ParsePalette(std::string_view text)
{
    std::array<Pixel, Palette::kSize> pixels{};
    int lineNumber = 0;
    int count = 0;
    bool sawBlank = false;
    while (!text.empty() && count < Palette::kSize) {
        std::size_t cut = text.find('\n');
        std::string_view line = Trim(text.substr(0, cut));
        text = cut == std::string_view::npos ? std::string_view() : text.substr(cut + 1);
        if (++lineNumber <= 3)
            continue;
        if (line.empty()) {
            sawBlank = true;
            continue;
        }
        if (sawBlank)
            throw FormatError("palette line " + std::to_string(lineNumber) + " follows an empty line");
        int components[3];
        for (int k = 0; k < 3; ++k) {
            std::size_t space = line.find_first_of(" \t");
            std::string_view token = k < 2 ? line.substr(0, space) : line;
            if (k < 2 && space == std::string_view::npos)
                throw FormatError("palette line " + std::to_string(lineNumber) + " does not hold three numbers");
            components[k] = ParseComponent(Trim(token), lineNumber);
            if (k < 2)
                line = Trim(line.substr(space + 1));
        }
        pixels[static_cast<std::size_t>(count++)] = MakePixel(components[0], components[1], components[2]);
    }
    if (count < Palette::kSize)
        throw FormatError("the palette holds " + std::to_string(count) + " colours instead of 256");
    return Palette(pixels);
}

Palette LoadPaletteFile(const std::string& fileName)
{
    auto bytes = ReadWholeFile(fileName, 1024 * 1024);
    try {
        return ParsePalette(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const FormatError& e) {
        throw FormatError(fileName + ": " + e.what());
    }
}

std::string FormatPalette(const Palette& palette)
{
    std::string out = "JASC-PAL\r\n0100\r\n256\r\n";
    for (int i = 0; i < Palette::kSize; ++i) {
        Pixel p = palette.pixel(i);
        out += std::to_string(RedOf(p)) + ' ' + std::to_string(GreenOf(p)) + ' ' + std::to_string(BlueOf(p)) + "\r\n";
    }
    return out;
}

} // namespace pitwall
