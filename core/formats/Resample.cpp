#include "formats/Resample.h"

#include <stb_image_resize.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace pitwall {

namespace {

// stb's box filter is the exact area average when shrinking; its triangle
// filter is bilinear interpolation when growing.
stbir_filter FilterFor(int from, int to)
{
    return to < from ? STBIR_FILTER_BOX : STBIR_FILTER_TRIANGLE;
}

} // namespace

Image ResamplePicture(const Image& source, int width, int height)
{
    Image out(width, height, 24);
    if (source.isNull() || width <= 0 || height <= 0)
        return out;
    const auto sw = static_cast<std::size_t>(source.width());
    const auto sh = static_cast<std::size_t>(source.height());
    std::vector<std::uint8_t> in(sw * sh * 3);
    for (std::size_t y = 0; y < sh; ++y) {
        auto row = source.row(static_cast<int>(y));
        for (std::size_t x = 0; x < sw; ++x) {
            std::uint8_t* p = &in[(y * sw + x) * 3];
            p[0] = static_cast<std::uint8_t>(RedOf(row[x]));
            p[1] = static_cast<std::uint8_t>(GreenOf(row[x]));
            p[2] = static_cast<std::uint8_t>(BlueOf(row[x]));
        }
    }
    const auto ow = static_cast<std::size_t>(width);
    const auto oh = static_cast<std::size_t>(height);
    std::vector<std::uint8_t> result(ow * oh * 3);
    // Byte values are averaged as they stand (no gamma), as the game's own
    // pictures were made.
    if (!stbir_resize(in.data(), source.width(), source.height(), 0, result.data(), width, height, 0, STBIR_TYPE_UINT8,
                      3, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP,
                      FilterFor(source.width(), width), FilterFor(source.height(), height), STBIR_COLORSPACE_LINEAR,
                      nullptr))
        throw std::runtime_error("not enough memory to resize a picture");
    for (std::size_t y = 0; y < oh; ++y) {
        auto row = out.row(static_cast<int>(y));
        for (std::size_t x = 0; x < ow; ++x) {
            const std::uint8_t* p = &result[(y * ow + x) * 3];
            row[x] = MakePixel(p[0], p[1], p[2]);
        }
    }
    return out;
}

} // namespace pitwall
