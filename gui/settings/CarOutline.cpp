#include "CarOutline.h"

#include <QPainter>

#include <vector>

namespace pitwall::gui {

namespace {

constexpr int kScale = 2;
constexpr int kWidth = 61, kHeight = 155;

// The closed areas of the outline in picture coordinates. The first
// twenty are the car parts (the three rear wing parts share one area, as
// their points do); the rest is the body between them.
constexpr QRect Area(int x0, int y0, int x1, int y1) { return QRect(QPoint(x0, y0), QPoint(x1, y1)); }
const QRect kAreas[] = {
    Area(24, 2, 36, 28),    // nose
    Area(36, 8, 58, 22),    // front wing right
    Area(2, 8, 24, 22),     // front wing left
    Area(36, 2, 58, 8),     // front wing right, small
    Area(2, 2, 24, 8),      // front wing left, small
    Area(36, 28, 46, 38),   // front suspension right
    Area(46, 24, 58, 44),   // front wheel right
    Area(14, 28, 24, 38),   // front suspension left
    Area(2, 24, 14, 44),    // front wheel left
    Area(36, 75, 52, 108),  // side pod right
    Area(8, 75, 24, 108),   // side pod left
    Area(18, 108, 42, 126), // rear chassis
    Area(42, 126, 48, 138), // rear suspension right
    Area(48, 122, 58, 142), // rear wheel right
    Area(12, 126, 18, 138), // rear suspension left
    Area(2, 122, 12, 142),  // rear wheel left
    Area(14, 138, 46, 146), // rear wing (with its right and left parts)
    Area(14, 146, 46, 152), // rear wing top
    Area(36, 54, 46, 68),   // small rear wing right
    Area(14, 54, 24, 68),   // small rear wing left
    Area(24, 28, 36, 75),   // cockpit
    Area(24, 75, 36, 108),  // engine cover
    Area(18, 126, 42, 138), // gearbox
};

} // namespace

QImage CarOutlineImage()
{
    QImage image(kWidth * kScale, kHeight * kScale, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setPen(QPen(Qt::black, 1));
        for (const QRect& area : kAreas)
            painter.drawRect(area.left() * kScale, area.top() * kScale, area.width() * kScale - kScale,
                             area.height() * kScale - kScale);
    }
    for (QPoint p : kCarPartPoints)
        FloodFill(image, p * kScale, kPartColour);
    return image;
}

void FloodFill(QImage& image, QPoint point, QColor colour)
{
    if (!image.rect().contains(point))
        return;
    const QRgb from = image.pixel(point);
    const QRgb to = colour.rgb();
    if (from == to)
        return;
    std::vector<QPoint> pending{point};
    while (!pending.empty()) {
        QPoint p = pending.back();
        pending.pop_back();
        if (!image.rect().contains(p) || image.pixel(p) != from)
            continue;
        image.setPixel(p, to);
        pending.push_back({p.x() + 1, p.y()});
        pending.push_back({p.x() - 1, p.y()});
        pending.push_back({p.x(), p.y() + 1});
        pending.push_back({p.x(), p.y() - 1});
    }
}

CarOutline::CarOutline(QWidget* parent) : QLabel(parent), image_(CarOutlineImage())
{
    setObjectName("Image1");
    setPixmap(QPixmap::fromImage(image_));
    setFixedSize(image_.size());
}

void CarOutline::highlight(int part)
{
    if (part == highlighted_)
        return;
    if (highlighted_ >= 0)
        FloodFill(image_, kCarPartPoints[static_cast<std::size_t>(highlighted_)] * kScale, kPartColour);
    highlighted_ = part >= 0 && part < kOutlineParts ? part : -1;
    if (highlighted_ >= 0)
        FloodFill(image_, kCarPartPoints[static_cast<std::size_t>(highlighted_)] * kScale, kHighlightColour);
    setPixmap(QPixmap::fromImage(image_));
}

} // namespace pitwall::gui
