#include "ScreenPlacement.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace pitwall::gui {

QRect MovedOntoScreen(QRect frame, const QRect& available)
{
    if (available.isEmpty())
        return frame;
    frame.moveLeft(std::min(frame.left(), available.right() + 1 - frame.width()));
    frame.moveTop(std::min(frame.top(), available.bottom() + 1 - frame.height()));
    frame.moveLeft(std::max(frame.left(), available.left()));
    frame.moveTop(std::max(frame.top(), available.top()));
    return frame;
}

QRect AvailableAreaOf(const QWidget* reference)
{
    const QScreen* screen = reference ? reference->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void MoveOntoScreen(QWidget* window, QPoint frameTopLeft, const QWidget* reference)
{
    // Before the first show the frame is not known yet; the platform's
    // usual title bar and border are allowed for.
    // Not shown yet, a window's size may still be the default one: its
    // layout's wish counts too.
    QSize frameSize = window->frameGeometry().size();
    if (!window->isVisible())
        frameSize = window->size().expandedTo(window->sizeHint());
    if (!window->isVisible() || frameSize == window->size())
        frameSize += QSize(16, 38);
    const QRect target = MovedOntoScreen(QRect(frameTopLeft, frameSize), AvailableAreaOf(reference));
    window->move(target.topLeft());
}

void SettleShownLayout(QWidget* window)
{
    // A request handled can post the next one up the tree (tab bar, tab
    // control, window); a few rounds reach the top.
    for (int round = 0; round < 4; ++round) {
        const QSize before = window->size();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        if (round > 0 && window->size() == before)
            break;
    }
}

} // namespace pitwall::gui
