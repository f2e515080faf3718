#include "BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace pitwall::gui {

BusyCursor::BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

BusyCursor::~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }

NormalCursorWhileAsking::NormalCursorWhileAsking()
{
    // Override cursors stack: the arrow goes on top of the wait cursor and
    // comes off again, whatever set the one below.
    if (QGuiApplication::overrideCursor()) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
        pushed_ = true;
    }
}

NormalCursorWhileAsking::~NormalCursorWhileAsking()
{
    if (pushed_)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace pitwall::gui
