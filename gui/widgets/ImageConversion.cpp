#include "ImageConversion.h"

#include <algorithm>

namespace pitwall::gui {

QImage ToQImage(const Image& image)
{
    if (image.isNull())
        return {};
    QImage result(image.width(), image.height(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        const auto source = image.row(y);
        std::transform(source.begin(), source.end(), line, [](Pixel p) { return QRgb{0xFF000000u | p}; });
    }
    return result;
}

Image ToImage(const QImage& image)
{
    if (image.isNull())
        return {};
    const QImage rgb = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        ? image
        : image.convertToFormat(QImage::Format_ARGB32);
    Image result(rgb.width(), rgb.height(), 32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        auto target = result.row(y);
        std::transform(line, line + rgb.width(), target.begin(), [](QRgb v) { return Pixel{v & 0x00FFFFFFu}; });
    }
    return result;
}

QColor ToQColor(Pixel pixel) { return QColor(RedOf(pixel), GreenOf(pixel), BlueOf(pixel)); }

Pixel ToPixel(const QColor& color) { return MakePixel(color.red(), color.green(), color.blue()); }

} // namespace pitwall::gui
