#include "FirstPaintExit.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace pitwall::gui {

void FirstPaintExit::watch(QWidget* window)
{
    window_ = window;
    QApplication::instance()->installEventFilter(this);
    // Painted already (shown before the watch began): it counts.
    if (window && window->isVisible())
        window->update();
}

bool FirstPaintExit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && window_ && !quitting_) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && (widget == window_ || window_->isAncestorOf(widget))) {
            quitting_ = true;
            // After this paint has been drawn and flushed.
            QTimer::singleShot(0, QApplication::instance(), [] { QApplication::exit(0); });
        }
    }
    return false;
}

} // namespace pitwall::gui
