#pragma once
// TGP3Image: a picture control with a magnifying glass. Holding the left
// button shows an enlarged square or circle of the picture around the mouse;
// the right button opens the picture at double size in a borderless window.
// The picture is drawn unscaled at the control's top-left corner, so picture
// and control coordinates are the same.

#include "formats/Image.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>

namespace pitwall::gui {

class GP3ImageZoomWindow;

class GP3Image : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool magnifier READ magnifier WRITE setMagnifier)
    Q_PROPERTY(bool showCursor READ showCursor WRITE setShowCursor)
    Q_PROPERTY(int magZoom READ magZoom WRITE setMagZoom)
    Q_PROPERTY(int magSize READ magSize WRITE setMagSize)
    Q_PROPERTY(MagShape magShape READ magShape WRITE setMagShape)
    Q_PROPERTY(bool magBorder READ magBorder WRITE setMagBorder)
    Q_PROPERTY(QColor magColor READ magColor WRITE setMagColor)
    Q_PROPERTY(bool rmbZooming READ rmbZooming WRITE setRmbZooming)

public:
    enum class MagShape { Rect, Circle };
    Q_ENUM(MagShape)

    explicit GP3Image(QWidget* parent = nullptr);
    ~GP3Image() override;

    // The picture shown (never the glass: while magnifying this is the
    // picture under it). Setting it while magnifying moves the glass onto
    // the new picture.
    const QImage& picture() const { return picture_; }
    void setPicture(const QImage& picture);
    Image image() const;
    void setImage(const Image& image);
    void clear();
    // What the control shows right now, glass included.
    const QImage& shownPicture() const { return shown_; }

    bool magnifier() const { return magnifier_; }
    void setMagnifier(bool on);
    // True keeps a cross cursor while magnifying; false hides the cursor.
    bool showCursor() const { return showCursor_; }
    void setShowCursor(bool on) { showCursor_ = on; }
    // 2..255; smaller values are stored as 2.
    int magZoom() const { return magZoom_; }
    void setMagZoom(int zoom);
    // Half the side of the glass in screen pixels, 0..255.
    int magSize() const { return magSize_; }
    void setMagSize(int size);
    MagShape magShape() const { return magShape_; }
    void setMagShape(MagShape shape);
    bool magBorder() const { return magBorder_; }
    void setMagBorder(bool on);
    QColor magColor() const { return magColor_; }
    void setMagColor(const QColor& color);
    bool rmbZooming() const { return rmbZooming_; }
    void setRmbZooming(bool on) { rmbZooming_ = on; }

    bool isMagnifying() const { return magnifying_; }
    // The double-size view while it is open, else null.
    QWidget* zoomWindow() const;
    // The half-side of the enlarged area for the current size and zoom.
    int glassRadius() const;

    QSize sizeHint() const override;

signals:
    // Every press, before the control reacts to it (the glass or the
    // double-size view), in control coordinates.
    void mousePressed(Qt::MouseButton button, QPoint pos, Qt::KeyboardModifiers modifiers);
    // Every move over the control, pressed or not.
    void mouseMoved(QPoint pos, Qt::MouseButtons buttons);
    void mouseReleased(Qt::MouseButton button, QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void startMagnifying(QPoint pos);
    void stopMagnifying();
    void drawGlass(QPoint pos);
    // The area the glass covers at `pos`, border included.
    QRect glassArea(QPoint pos) const;
    void openZoomWindow();

    QImage picture_;
    QImage shown_;
    bool magnifier_ = true;
    bool showCursor_ = false;
    int magZoom_ = 2;
    int magSize_ = 50;
    MagShape magShape_ = MagShape::Rect;
    bool magBorder_ = true;
    QColor magColor_ = Qt::black;
    bool rmbZooming_ = true;

    bool magnifying_ = false;
    QPoint glassPos_;
    QPointer<GP3ImageZoomWindow> zoomWindow_;
};

} // namespace pitwall::gui
