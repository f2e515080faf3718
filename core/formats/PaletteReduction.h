#pragma once
// Reducing a true-colour picture to the game palette, for pictures made in
// ordinary paint programs that are to go into an 8-bit JAM. Each colour goes
// to the palette entry that looks closest: the distance is measured in
// CIELAB (sRGB, D65 white), where equal distances are roughly equally
// visible, unlike differences of red, green and blue. Optional
// Floyd-Steinberg dithering spreads each pixel's error onto its neighbours.

#include "formats/Image.h"
#include "formats/Palette.h"

#include <array>
#include <unordered_map>

namespace pitwall {

struct LabColor {
    double l = 0;
    double a = 0;
    double b = 0;
};

LabColor LabOf(Pixel p);
// Squared Euclidean distance in CIELAB (the 1976 colour difference, squared).
double LabDistance2(const LabColor& x, const LabColor& y);

// Finds the nearest palette entry of a colour by the distance above; the
// lowest index on a tie. Entries already asked for are remembered.
class PaletteMatcher {
public:
    explicit PaletteMatcher(const Palette& palette);
    int nearestIndex(Pixel p);

private:
    std::array<LabColor, Palette::kSize> lab_{};
    std::unordered_map<Pixel, std::uint8_t> found_;
};

enum class Dithering { None, FloydSteinberg };

// The picture as an 8-bit picture of the same size whose colour table is the
// palette and whose every pixel is a palette colour. Without dithering each
// pixel becomes its nearest palette colour. Colours already in the palette
// stay as they are, with dithering too: no error is spread into them.
Image ReduceToPalette(const Image& picture, const Palette& palette, Dithering dithering);

} // namespace pitwall
