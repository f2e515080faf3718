#pragma once
// A picture in a scroll area at 1x, 2x, 4x or 8x, or fitted into the view,
// drawn with nearest-neighbour scaling so every pixel stays a sharp square.
// Mouse positions are handed out in picture pixels. Ctrl + wheel changes the
// zoom step around the pixel under the pointer, which stays where it was.

#include <QImage>
#include <QScrollArea>

namespace pitwall::gui {

class ZoomCanvas;

class ZoomView : public QScrollArea {
    Q_OBJECT
public:
    // Zoom 0 fits the picture into the view.
    static constexpr int kFit = 0;
    static constexpr int kZooms[] = {1, 2, 4, 8, kFit};

    explicit ZoomView(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const;
    int zoom() const { return zoom_; }
    // Pixels on screen per picture pixel.
    double scale() const;
    // Changes the zoom keeping the picture pixel under `viewportPoint` (a
    // point of the visible area) where it is, as far as the scroll bars
    // allow.
    void setZoom(int zoom, QPoint viewportPoint);
    void setZoom(int zoom);
    // The picture pixel under a point of the visible area (may lie outside
    // the picture).
    QPoint pictureAt(QPoint viewportPoint) const;

signals:
    void zoomChanged(int zoom);
    void pressed(QPoint picturePoint, Qt::MouseButton button);
    void hovered(QPoint picturePoint);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The visible area around a small picture: presses and moves there are
    // handed out too (as points outside the picture).
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    friend class ZoomCanvas;
    void layoutCanvas();

    ZoomCanvas* canvas_;
    int zoom_ = 1;
};

} // namespace pitwall::gui
