#include "GP3ImageZoomWindow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace pitwall::gui {

GP3ImageZoomWindow::GP3ImageZoomWindow(const QImage& picture, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), picture_(picture)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("ZoomWindow"));
}

void GP3ImageZoomWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // No smoothing: the point of the view is to see single pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (picture_.isNull())
        painter.fillRect(rect(), palette().window());
    else
        painter.drawImage(rect(), picture_);
}

void GP3ImageZoomWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        close();
}

void GP3ImageZoomWindow::keyPressEvent(QKeyEvent* event)
{
    // Without a frame there is no close button; Escape is the keyboard's way out.
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

} // namespace pitwall::gui
