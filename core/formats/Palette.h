#pragma once
// The game palette: the 256 colours every 8-bit picture of the game indexes,
// read from `GP3 Palette.pal` beside the program (JASC-PAL text: three header
// lines, then one "red green blue" line per entry).
//
// Colours come in two forms: a Windows COLORREF 0x00BBGGRR (how the palette
// is specified and how the desktop toolkit hands out single colours) and a
// page pixel 0x00RRGGBB (how pictures and JAM pages hold them). The two turn
// into each other by swapping the red and blue bytes.

#include "base/ByteReader.h" // FormatError
#include "formats/Image.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pitwall {

// 0x00BBGGRR.
using ColorRef = std::uint32_t;

constexpr Pixel SwapRedBlue(std::uint32_t v) { return (v & 0x00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16); }
constexpr Pixel PixelFromColorRef(ColorRef c) { return SwapRedBlue(c); }
constexpr ColorRef ColorRefFromPixel(Pixel p) { return SwapRedBlue(p); }

class Palette {
public:
    static constexpr int kSize = 256;

    // All entries black.
    Palette();
    explicit Palette(const std::array<Pixel, kSize>& pixels);

    ColorRef color(int index) const { return ColorRefFromPixel(pixels_[static_cast<std::size_t>(index)]); }
    Pixel pixel(int index) const { return pixels_[static_cast<std::size_t>(index)]; }
    const std::array<Pixel, kSize>& pixels() const { return pixels_; }
    std::vector<Pixel> table() const { return std::vector<Pixel>(pixels_.begin(), pixels_.end()); }
    void setColor(int index, ColorRef color);

    // The first index whose colour equals the colour exactly; 0 when none does.
    int exactIndex(ColorRef color) const { return exactIndexOfPixel(PixelFromColorRef(color)); }
    int exactIndexOfPixel(Pixel p) const;
    // Whether the colour is in the palette at all.
    bool containsPixel(Pixel p) const { return findPixel(p) >= 0; }
    // The first index holding the colour, -1 when none does.
    int findPixel(Pixel p) const;
    // Smallest |dR| + |dG| + |dB|; the lowest index on a tie.
    int nearestIndex(ColorRef color) const { return nearestIndexOfPixel(PixelFromColorRef(color)); }
    int nearestIndexOfPixel(Pixel p) const;

    bool operator==(const Palette& other) const { return pixels_ == other.pixels_; }

private:
    void rebuildLookup();

    std::array<Pixel, kSize> pixels_{};
    // (pixel, first index) sorted by pixel, for the exact lookup.
    std::vector<std::pair<Pixel, std::uint8_t>> lookup_;
};

// Reads palette text. Lines after the three header lines give entries 0, 1,
// ...; each holds three decimal numbers 0..255 separated by blanks. Blank
// lines at the end are ignored, as are colour lines beyond the 256th. Throws
// FormatError naming the line for a malformed line or when fewer than 256
// colours are given.
Palette ParsePalette(std::string_view text);
// Reads the file; a file that cannot be read throws std::runtime_error.
Palette LoadPaletteFile(const std::string& fileName);
// The palette as JASC-PAL text (CR LF line ends, as Windows tools write it).
std::string FormatPalette(const Palette& palette);

// The name of the palette file beside the program.
inline constexpr const char* kPaletteFileName = "GP3 Palette.pal";

} // namespace pitwall
