#include "GP3Image.h"

#include "GP3ImageZoomWindow.h"
#include "ImageConversion.h"
#include "ScreenPlacement.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace pitwall::gui {

namespace {

// size / zoom to the nearest integer, a half going to the even neighbour.
int RoundedQuotient(int size, int zoom)
{
    int q = size / zoom;
    const int twiceRest = 2 * (size % zoom);
    if (twiceRest > zoom || (twiceRest == zoom && q % 2 == 1))
        ++q;
    return q;
}

// Whether the pixel (dx, dy) from the centre lies in the circle of `radius`
// around the centre, judged at the pixel's middle: (dx + 1/2)^2 + (dy + 1/2)^2
// <= radius^2, doubled to stay in integers.
bool InCircle(int dx, int dy, int radius)
{
    const long long a = 2LL * dx + 1;
    const long long b = 2LL * dy + 1;
    return a * a + b * b <= 4LL * radius * radius;
}

} // namespace

GP3Image::GP3Image(QWidget* parent) : QWidget(parent)
{
    // Editors show the position under the mouse without a button held.
    setMouseTracking(true);
}

GP3Image::~GP3Image() = default;

void GP3Image::setPicture(const QImage& picture)
{
    picture_ = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
    shown_ = picture_;
    if (magnifying_)
        drawGlass(glassPos_);
    updateGeometry();
    update();
}

Image GP3Image::image() const { return ToImage(picture_); }

void GP3Image::setImage(const Image& image) { setPicture(ToQImage(image)); }

void GP3Image::clear() { setPicture(QImage()); }

void GP3Image::setMagnifier(bool on)
{
    magnifier_ = on;
    if (!on && magnifying_)
        stopMagnifying();
}

void GP3Image::setMagZoom(int zoom)
{
    magZoom_ = std::clamp(zoom, 2, 255);
    if (magnifying_)
        drawGlass(glassPos_);
}

void GP3Image::setMagSize(int size)
{
    magSize_ = std::clamp(size, 0, 255);
    if (magnifying_)
        drawGlass(glassPos_);
}

void GP3Image::setMagShape(MagShape shape)
{
    magShape_ = shape;
    if (magnifying_)
        drawGlass(glassPos_);
}

void GP3Image::setMagBorder(bool on)
{
    magBorder_ = on;
    if (magnifying_)
        drawGlass(glassPos_);
}

void GP3Image::setMagColor(const QColor& color)
{
    magColor_ = color;
    if (magnifying_)
        drawGlass(glassPos_);
}

QWidget* GP3Image::zoomWindow() const { return zoomWindow_.data(); }

int GP3Image::glassRadius() const { return std::max(2, RoundedQuotient(magSize_, magZoom_)) * magZoom_; }

QSize GP3Image::sizeHint() const { return picture_.isNull() ? QSize(100, 100) : picture_.size(); }

void GP3Image::paintEvent(QPaintEvent* event)
{
    if (shown_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(event->rect(), shown_, event->rect());
}

void GP3Image::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    emit mousePressed(event->button(), pos, event->modifiers());
    if (event->button() == Qt::LeftButton && magnifier_)
        startMagnifying(pos);
    else if (event->button() == Qt::RightButton && rmbZooming_)
        openZoomWindow();
}

void GP3Image::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    emit mouseMoved(pos, event->buttons());
    if (!magnifying_)
        return;
    // While a button is held the control keeps the mouse and hears of leaving
    // only after the release; dragging out of it ends the glass at once.
    if (!rect().contains(pos))
        stopMagnifying();
    else
        drawGlass(pos);
}

void GP3Image::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && magnifying_)
        stopMagnifying();
    emit mouseReleased(event->button(), pos);
}

void GP3Image::leaveEvent(QEvent* event)
{
    if (magnifying_)
        stopMagnifying();
    QWidget::leaveEvent(event);
}

void GP3Image::hideEvent(QHideEvent* event)
{
    // A page switched away under a held button must not come back with the glass.
    if (magnifying_)
        stopMagnifying();
    QWidget::hideEvent(event);
}

void GP3Image::startMagnifying(QPoint pos)
{
    magnifying_ = true;
    setCursor(showCursor_ ? Qt::CrossCursor : Qt::BlankCursor);
    drawGlass(pos);
}

void GP3Image::stopMagnifying()
{
    magnifying_ = false;
    unsetCursor();
    update(glassArea(glassPos_));
    shown_ = picture_;
}

QRect GP3Image::glassArea(QPoint pos) const
{
    // The circle's ring lies two pixels outside the glass, the square's frame one.
    const int outside = magShape_ == MagShape::Circle ? 2 : 1;
    const int half = glassRadius() + outside;
    return QRect(pos.x() - half, pos.y() - half, 2 * half, 2 * half);
}

void GP3Image::drawGlass(QPoint pos)
{
    const QRect before = glassArea(glassPos_);
    glassPos_ = pos;
    shown_ = picture_;
    if (shown_.isNull())
        return;

    const int zoom = magZoom_;
    const int big = glassRadius();
    const int small = big / zoom;
    const QRgb frame = magColor_.rgb();
    const QRect area = glassArea(pos).intersected(shown_.rect());
    const bool circle = magShape_ == MagShape::Circle;

    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(shown_.scanLine(y));
        const int dy = y - pos.y();
        for (int x = area.left(); x <= area.right(); ++x) {
            const int dx = x - pos.x();
            const bool inGlass = circle ? InCircle(dx, dy, big) : (dx >= -big && dx < big && dy >= -big && dy < big);
            if (inGlass) {
                // Each picture pixel of the small square becomes a zoom x zoom block.
                const int sx = pos.x() - small + (dx + big) / zoom;
                const int sy = pos.y() - small + (dy + big) / zoom;
                if (picture_.rect().contains(sx, sy))
                    line[x] = picture_.pixel(sx, sy);
            } else if (magBorder_) {
                // Square: the one-pixel frame round the glass. Circle: the ring
                // up to two pixels outside it.
                const bool onBorder = circle ? InCircle(dx, dy, big + 2) : true;
                if (onBorder)
                    line[x] = frame;
            }
        }
    }
    update(before.united(glassArea(pos)));
}

void GP3Image::openZoomWindow()
{
    if (zoomWindow_)
        zoomWindow_->close();
    auto* window = new GP3ImageZoomWindow(picture_, this);
    // The same picture, twice the size: told as the control tells it.
    window->setAccessibleName(accessibleName());
    window->setAccessibleDescription(accessibleDescription());
    const QSize size(2 * width(), 2 * height());
    const QPoint centre = mapToGlobal(QPoint(width() / 2, height() / 2));
    QRect area(centre - QPoint(size.width() / 2, size.height() / 2), size);
    // Centred on the control, but moved back onto the screen where it would
    // stick out (a control near the screen's edge), as far as it fits.
    window->setGeometry(MovedOntoScreen(area, AvailableAreaOf(this)));
    zoomWindow_ = window;
    window->show();
    window->activateWindow();
}

} // namespace pitwall::gui
