#pragma once
// What every window of the program owes its user, checked alike for all:
// it lies on the screen with its frame, Tab walks its controls in reading
// order and reaches each of them, and modal windows opened by the program
// can be handled as they appear.

#include <QApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QStringList>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace pitwall::gui::test {

inline QString RectText(const QRect& r)
{
    return QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

inline QString Described(const QWidget* w)
{
    return w->objectName() + " (" + w->metaObject()->className() + ")";
}

// A control Tab stops at, as Qt's own focus walk decides it.
inline bool IsTabStop(const QWidget* w, const QWidget* window)
{
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isVisible() && w->isEnabled()
        && w->window() == window && !w->focusProxy();
}

// The controls in the order Tab visits them, from the window's start.
inline QList<QWidget*> TabChain(QWidget* window)
{
    QList<QWidget*> chain;
    QWidget* w = window->nextInFocusChain();
    for (int guard = 0; w && w != window && guard < 100000; ++guard, w = w->nextInFocusChain())
        if (IsTabStop(w, window) && !chain.contains(w))
            chain << w;
    return chain;
}

// The widget below `common` that holds w (w itself when it is a direct
// child): a group box or a column is read as one unit.
inline QWidget* UnitBelow(QWidget* w, const QWidget* common)
{
    while (w->parentWidget() && w->parentWidget() != common)
        w = w->parentWidget();
    return w;
}

inline QWidget* CommonAncestor(QWidget* a, QWidget* b)
{
    for (QWidget* up = a->parentWidget(); up; up = up->parentWidget())
        if (up->isAncestorOf(b))
            return up;
    return nullptr;
}

// Whether b may follow a when reading: further down, or further right in
// the same row, or at the top of a column to the right.
inline bool ReadsAfter(QWidget* a, QWidget* b)
{
    if (a->isAncestorOf(b) || b->isAncestorOf(a))
        return true;
    QWidget* common = CommonAncestor(a, b);
    if (!common)
        return true;
    const QRect ra = UnitBelow(a, common)->geometry();
    const QRect rb = UnitBelow(b, common)->geometry();
    const int tolerance = 4;
    const int overlap = std::min(ra.bottom(), rb.bottom()) - std::max(ra.top(), rb.top());
    const bool sameRow = overlap > std::min(ra.height(), rb.height()) / 2;
    if (sameRow)
        return rb.left() >= ra.left() - tolerance;
    if (rb.top() < ra.top())
        return rb.left() >= ra.right() - tolerance; // a column to the right
    return true;
}

// Where Tab goes against the reading order of the page shown, and which
// control it never reaches.
inline QStringList TabOrderFaultsOfShownPage(QWidget* window)
{
    QStringList faults;
    const QList<QWidget*> chain = TabChain(window);
    for (int i = 1; i < chain.size(); ++i)
        if (!ReadsAfter(chain[i - 1], chain[i]))
            faults << window->objectName() + ": Tab goes from " + Described(chain[i - 1]) + " back to "
                    + Described(chain[i]);
    for (QWidget* w : window->findChildren<QWidget*>())
        if (IsTabStop(w, window) && !chain.contains(w))
            faults << window->objectName() + ": Tab never reaches " + Described(w);
    return faults;
}

// The same for every page of every tab control of the window.
inline QStringList TabOrderFaults(QWidget* window)
{
    QStringList faults = TabOrderFaultsOfShownPage(window);
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
        const int shown = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            if (!tabs->isTabEnabled(i))
                continue;
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            faults << TabOrderFaultsOfShownPage(window);
        }
        tabs->setCurrentIndex(shown);
    }
    faults.removeDuplicates();
    return faults;
}

inline QStringList PlacementFaults(QWidget* window, const QString& where)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (screen.contains(window->frameGeometry()))
        return {};
    return {where + ": " + window->objectName() + " lies off the screen at " + RectText(window->frameGeometry())};
}

// The widget keys go to in the window: its focus widget, else the window.
inline QWidget* KeyTarget(QWidget* window)
{
    QWidget* focus = QApplication::focusWidget();
    return focus && focus->window() == window ? focus : window;
}

// Runs open() and hands each modal window that appears meanwhile to
// `handle` once; one shown again after it was handled (the handling did
// not close it) is listed in `stuck` and closed, so no test hangs.
inline void WithModals(const std::function<void()>& open, const std::function<void(QWidget*)>& handle,
                       QStringList* stuck = nullptr)
{
    QList<QPointer<QWidget>> handled;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (handled.contains(modal)) {
            if (stuck)
                *stuck << modal->objectName() + " stayed open";
            modal->close();
            return;
        }
        handled << modal;
        handle(modal);
    });
    timer.start(30);
    open();
    timer.stop();
}

} // namespace pitwall::gui::test
