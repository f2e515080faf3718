#include "formats/Image.h"

#include <algorithm>
#include <cstdlib>

namespace pitwall {

Image::Image(int width, int height, int depth, Pixel fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      depth_(depth),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill)
{
    if (width_ == 0 || height_ == 0) {
        width_ = height_ = 0;
        pixels_.clear();
    }
}

Pixel Image::pixelOr(int x, int y, Pixel outside) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return outside;
    return pixel(x, y);
}

std::span<Pixel> Image::row(int y)
{
    return std::span<Pixel>(pixels_).subspan(index(0, y), static_cast<std::size_t>(width_));
}

std::span<const Pixel> Image::row(int y) const
{
    return std::span<const Pixel>(pixels_).subspan(index(0, y), static_cast<std::size_t>(width_));
}

void Image::fill(Pixel p) { std::fill(pixels_.begin(), pixels_.end(), p); }

namespace {

Rect Clip(Rect r, int width, int height)
{
    r.left = std::clamp(r.left, 0, width);
    r.right = std::clamp(r.right, 0, width);
    r.top = std::clamp(r.top, 0, height);
    r.bottom = std::clamp(r.bottom, 0, height);
    return r;
}

} // namespace

void Image::fillRect(Rect r, Pixel p)
{
    r = Clip(r, width_, height_);
    for (int y = r.top; y < r.bottom; ++y)
        std::fill(pixels_.begin() + static_cast<std::ptrdiff_t>(index(r.left, y)),
                  pixels_.begin() + static_cast<std::ptrdiff_t>(index(r.right, y)), p);
}

Image Image::copy(Rect r) const
{
    r = Clip(r, width_, height_);
    Image out(r.width(), r.height(), depth_);
    out.colorTable_ = colorTable_;
    out.drawRect(*this, r, 0, 0);
    return out;
}

void Image::draw(const Image& source, int x, int y) { drawRect(source, source.rect(), x, y); }

void Image::drawRect(const Image& source, Rect from, int x, int y)
{
    from = Clip(from, source.width(), source.height());
    // Clip the target side, moving the source corner along.
    if (x < 0) {
        from.left -= x;
        x = 0;
    }
    if (y < 0) {
        from.top -= y;
        y = 0;
    }
    int w = std::min(from.width(), width_ - x);
    int h = std::min(from.height(), height_ - y);
    if (w <= 0 || h <= 0)
        return;
    for (int r = 0; r < h; ++r) {
        auto src = source.row(from.top + r).subspan(static_cast<std::size_t>(from.left), static_cast<std::size_t>(w));
        std::copy(src.begin(), src.end(), pixels_.begin() + static_cast<std::ptrdiff_t>(index(x, y + r)));
    }
}

Image Image::stretched(int width, int height) const
{
    Image out(width, height, depth_);
    out.colorTable_ = colorTable_;
    if (isNull())
        return out;
    for (int y = 0; y < out.height(); ++y) {
        int sy = static_cast<int>(static_cast<long long>(y) * height_ / out.height());
        for (int x = 0; x < out.width(); ++x)
            out.setPixel(x, y, pixel(static_cast<int>(static_cast<long long>(x) * width_ / out.width()), sy));
    }
    return out;
}

Image Image::convertedToDepth(int depth, const std::vector<Pixel>& table) const
{
    Image out = *this;
    out.depth_ = depth;
    if (depth == 16) {
        for (Pixel& p : out.pixels_)
            p &= 0xF8FCF8;
    } else if (depth <= 8) {
        out.colorTable_ = table;
        for (Pixel& p : out.pixels_)
            p = table.empty() ? 0 : table[static_cast<std::size_t>(NearestIndex(table, p))];
    } else {
        out.colorTable_.clear();
    }
    return out;
}

int NearestIndex(std::span<const Pixel> table, Pixel p)
{
    int best = 0;
    int bestDistance = 65535;
    for (std::size_t i = 0; i < table.size(); ++i) {
        Pixel q = table[i];
        int d = std::abs(RedOf(p) - RedOf(q)) + std::abs(GreenOf(p) - GreenOf(q)) + std::abs(BlueOf(p) - BlueOf(q));
        if (d < bestDistance) { // strictly smaller: ties keep the lower index
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

int ExactIndex(std::span<const Pixel> table, Pixel p)
{
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i] == p)
            return static_cast<int>(i);
    return 0;
}

} // namespace pitwall
