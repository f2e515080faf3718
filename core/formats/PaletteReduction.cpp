#include "formats/PaletteReduction.h"

#include <algorithm>
#include <cmath>

namespace pitwall {

namespace {

double LinearOf(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double LabCurve(double t)
{
    constexpr double kDelta = 6.0 / 29.0;
    return t > kDelta * kDelta * kDelta ? std::cbrt(t) : t / (3 * kDelta * kDelta) + 4.0 / 29.0;
}

} // namespace

LabColor LabOf(Pixel p)
{
    const double r = LinearOf(RedOf(p)), g = LinearOf(GreenOf(p)), b = LinearOf(BlueOf(p));
    // sRGB to XYZ, relative to the D65 white point.
    const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
    const double fx = LabCurve(x), fy = LabCurve(y), fz = LabCurve(z);
    return LabColor{116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double LabDistance2(const LabColor& x, const LabColor& y)
{
    const double dl = x.l - y.l, da = x.a - y.a, db = x.b - y.b;
    return dl * dl + da * da + db * db;
}

PaletteMatcher::PaletteMatcher(const Palette& palette)
{
    for (int i = 0; i < Palette::kSize; ++i)
        lab_[static_cast<std::size_t>(i)] = LabOf(palette.pixel(i));
}

int PaletteMatcher::nearestIndex(Pixel p)
{
    const Pixel key = p & 0xFFFFFFu;
    if (auto it = found_.find(key); it != found_.end())
        return it->second;
    const LabColor lab = LabOf(p);
    int best = 0;
    double bestDistance = LabDistance2(lab, lab_[0]);
    for (int i = 1; i < Palette::kSize; ++i) {
        const double d = LabDistance2(lab, lab_[static_cast<std::size_t>(i)]);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    found_.emplace(key, static_cast<std::uint8_t>(best));
    return best;
}

Image ReduceToPalette(const Image& picture, const Palette& palette, Dithering dithering)
{
    Image out(picture.width(), picture.height(), 8);
    out.setColorTable(palette.table());
    if (out.isNull())
        return out;
    PaletteMatcher matcher(palette);
    if (dithering == Dithering::None) {
        for (std::size_t i = 0; i < picture.pixels().size(); ++i)
            out.pixels()[i] = palette.pixel(matcher.nearestIndex(picture.pixels()[i]));
        return out;
    }
    // Floyd-Steinberg in serpentine order: 7/16 ahead, 3/16 behind below,
    // 5/16 below, 1/16 ahead below. The errors of the current and the next
    // row are kept per channel, with a column of margin on each side.
    // A pixel already in a palette colour is kept as it is and the error
    // meant for it is dropped, so repainting part of a game picture leaves
    // the rest alone. The error is measured from the wanted colour clamped
    // to what a pixel can show: measured from the unclamped one it grows
    // without bound where the palette cannot reach a colour, and spreads as
    // a band.
    const int w = picture.width();
    const std::size_t rowSize = static_cast<std::size_t>(w + 2) * 3;
    std::vector<double> current(rowSize, 0.0), next(rowSize, 0.0);
    for (int y = 0; y < picture.height(); ++y) {
        std::fill(next.begin(), next.end(), 0.0);
        const bool leftToRight = y % 2 == 0;
        const int step = leftToRight ? 1 : -1;
        for (int n = 0; n < w; ++n) {
            const int x = leftToRight ? n : w - 1 - n;
            const Pixel source = picture.pixel(x, y);
            if (palette.containsPixel(source)) {
                out.setPixel(x, y, source);
                continue;
            }
            const std::size_t at = static_cast<std::size_t>(x + 1) * 3;
            const double wanted[3] = {std::clamp(RedOf(source) + current[at], 0.0, 255.0),
                                      std::clamp(GreenOf(source) + current[at + 1], 0.0, 255.0),
                                      std::clamp(BlueOf(source) + current[at + 2], 0.0, 255.0)};
            const Pixel target =
                MakePixel(static_cast<int>(std::lround(wanted[0])), static_cast<int>(std::lround(wanted[1])),
                          static_cast<int>(std::lround(wanted[2])));
            const Pixel chosen = palette.pixel(matcher.nearestIndex(target));
            out.setPixel(x, y, chosen);
            const double error[3] = {wanted[0] - RedOf(chosen), wanted[1] - GreenOf(chosen),
                                     wanted[2] - BlueOf(chosen)};
            const std::size_t ahead = static_cast<std::size_t>(x + 1 + step) * 3;
            const std::size_t behind = static_cast<std::size_t>(x + 1 - step) * 3;
            for (std::size_t c = 0; c < 3; ++c) {
                current[ahead + c] += error[c] * 7 / 16;
                next[behind + c] += error[c] * 3 / 16;
                next[at + c] += error[c] * 5 / 16;
                next[ahead + c] += error[c] * 1 / 16;
            }
        }
        std::swap(current, next);
    }
    return out;
}

} // namespace pitwall
