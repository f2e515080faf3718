#include "ZoomView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace pitwall::gui {

class ZoomCanvas : public QWidget {
public:
    explicit ZoomCanvas(ZoomView* view) : QWidget(view), view_(view) { setMouseTracking(true); }

    QImage picture;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().button());
        if (picture.isNull())
            return;
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        const double s = view_->scale();
        painter.drawImage(QRectF(0, 0, picture.width() * s, picture.height() * s), picture);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        emit view_->pressed(toPicture(event->position()), event->button());
    }
    void mouseMoveEvent(QMouseEvent* event) override { emit view_->hovered(toPicture(event->position())); }

private:
    QPoint toPicture(QPointF p) const
    {
        const double s = view_->scale();
        return QPoint(static_cast<int>(std::floor(p.x() / s)), static_cast<int>(std::floor(p.y() / s)));
    }

    ZoomView* view_;
};

ZoomView::ZoomView(QWidget* parent) : QScrollArea(parent), canvas_(new ZoomCanvas(this))
{
    setWidget(canvas_);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    viewport()->setMouseTracking(true);
    layoutCanvas();
}

void ZoomView::setPicture(const QImage& picture)
{
    canvas_->picture = picture;
    layoutCanvas();
    canvas_->update();
}

const QImage& ZoomView::picture() const { return canvas_->picture; }

double ZoomView::scale() const
{
    if (zoom_ != kFit)
        return zoom_;
    const QImage& p = canvas_->picture;
    if (p.isNull())
        return 1.0;
    const QSize room = maximumViewportSize();
    return std::max(0.01, std::min(double(room.width()) / p.width(), double(room.height()) / p.height()));
}

QPoint ZoomView::pictureAt(QPoint viewportPoint) const
{
    const double s = scale();
    const double x = (viewportPoint.x() + horizontalScrollBar()->value()) / s;
    const double y = (viewportPoint.y() + verticalScrollBar()->value()) / s;
    return QPoint(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
}

void ZoomView::setZoom(int zoom) { setZoom(zoom, QPoint(viewport()->width() / 2, viewport()->height() / 2)); }

void ZoomView::setZoom(int zoom, QPoint viewportPoint)
{
    if (std::find(std::begin(kZooms), std::end(kZooms), zoom) == std::end(kZooms) || zoom == zoom_)
        return;
    // The picture position under the point, in fractions of a pixel.
    const double oldScale = scale();
    const double px = (viewportPoint.x() + horizontalScrollBar()->value()) / oldScale;
    const double py = (viewportPoint.y() + verticalScrollBar()->value()) / oldScale;
    zoom_ = zoom;
    layoutCanvas();
    const double s = scale();
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(px * s - viewportPoint.x())));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(py * s - viewportPoint.y())));
    canvas_->update();
    emit zoomChanged(zoom_);
}

void ZoomView::layoutCanvas()
{
    const QImage& p = canvas_->picture;
    const double s = scale();
    QSize size = p.isNull()
        ? QSize(1, 1)
        : QSize(static_cast<int>(std::ceil(p.width() * s)), static_cast<int>(std::ceil(p.height() * s)));
    canvas_->resize(size);
}

void ZoomView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QScrollArea::wheelEvent(event);
        return;
    }
    static constexpr int kSteps[] = {1, 2, 4, 8};
    int current = 0;
    while (current < 3 && kSteps[current] < scale())
        ++current;
    const int next = std::clamp(current + (event->angleDelta().y() > 0 ? 1 : -1), 0, 3);
    setZoom(kSteps[next], event->position().toPoint());
    event->accept();
}

void ZoomView::mousePressEvent(QMouseEvent* event)
{
    emit pressed(pictureAt(event->position().toPoint()), event->button());
}

void ZoomView::mouseMoveEvent(QMouseEvent* event) { emit hovered(pictureAt(event->position().toPoint())); }

void ZoomView::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    if (zoom_ == kFit)
        layoutCanvas();
}

} // namespace pitwall::gui
