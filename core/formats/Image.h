#pragma once
// The program's picture: width x height pixels held as 32-bit values
// 0x00RRGGBB (the form JAM pages use), top row first. `depth` records the bits
// per pixel the picture has as a file (1, 4, 8, 16, 24 or 32): the JAM import
// refuses pictures of the wrong depth, a crop is saved at its source's depth
// and an 8-bit picture is written with its own colour table. The pixels are
// always the full colours, whatever the depth.

#include <cstdint>
#include <span>
#include <vector>

namespace pitwall {

// 0x00RRGGBB.
using Pixel = std::uint32_t;

constexpr Pixel MakePixel(int red, int green, int blue)
{
    return (static_cast<Pixel>(red & 0xFF) << 16) | (static_cast<Pixel>(green & 0xFF) << 8)
        | static_cast<Pixel>(blue & 0xFF);
}
constexpr int RedOf(Pixel p) { return static_cast<int>((p >> 16) & 0xFF); }
constexpr int GreenOf(Pixel p) { return static_cast<int>((p >> 8) & 0xFF); }
constexpr int BlueOf(Pixel p) { return static_cast<int>(p & 0xFF); }

// Right and bottom exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

class Image {
public:
    Image() = default;
    // A picture of the given size filled with `fill`. Sizes below 0 count as 0.
    Image(int width, int height, int depth = 32, Pixel fill = 0);

    int width() const { return width_; }
    int height() const { return height_; }
    int depth() const { return depth_; }
    bool isNull() const { return width_ == 0 || height_ == 0; }
    Rect rect() const { return Rect{0, 0, width_, height_}; }

    // Only relabels the picture; see convertedToDepth for the conversion.
    void setDepth(int depth) { depth_ = depth; }

    // Unchecked access for loops that stay inside the picture.
    Pixel pixel(int x, int y) const { return pixels_[index(x, y)]; }
    void setPixel(int x, int y, Pixel p) { pixels_[index(x, y)] = p; }
    // The pixel, or `outside` for a point not in the picture.
    Pixel pixelOr(int x, int y, Pixel outside) const;

    std::span<Pixel> row(int y);
    std::span<const Pixel> row(int y) const;
    std::vector<Pixel>& pixels() { return pixels_; }
    const std::vector<Pixel>& pixels() const { return pixels_; }

    // Colour table of a picture of depth 8 or less, as written to a BMP: its
    // entries in 0x00RRGGBB form. Pixels are matched against it exactly
    // (first equal entry, else entry 0) when such a picture is written.
    const std::vector<Pixel>& colorTable() const { return colorTable_; }
    void setColorTable(std::vector<Pixel> table) { colorTable_ = std::move(table); }

    void fill(Pixel p);
    // Clipped to the picture.
    void fillRect(Rect r, Pixel p);
    // The rectangle (clipped to the picture) as a new picture of the same
    // depth and colour table.
    Image copy(Rect r) const;
    // Copies `source` with its top-left corner at (x, y), clipped.
    void draw(const Image& source, int x, int y);
    // Copies the `from` rectangle of `source` to (x, y), clipped on both sides.
    void drawRect(const Image& source, Rect from, int x, int y);
    // Nearest-neighbour scaling to the given size (for the editors' views).
    Image stretched(int width, int height) const;
    // The same picture at another depth: 16 keeps only the colour bits an
    // RGB565 pixel holds, 8 and below map each pixel to the nearest entry of
    // `table` (which becomes the colour table), 24 and 32 keep the colours.
    Image convertedToDepth(int depth, const std::vector<Pixel>& table = {}) const;

    bool operator==(const Image&) const = default;

private:
    std::size_t index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    int depth_ = 32;
    std::vector<Pixel> pixels_;
    std::vector<Pixel> colorTable_;
};

// Index of the entry of `table` closest to `p` by the sum of the absolute
// differences of red, green and blue; the lowest index on a tie; 0 for an
// empty table.
int NearestIndex(std::span<const Pixel> table, Pixel p);
// Index of the first entry equal to `p`; 0 when there is none.
int ExactIndex(std::span<const Pixel> table, Pixel p);

} // namespace pitwall
