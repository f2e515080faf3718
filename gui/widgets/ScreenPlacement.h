#pragma once
// Keeps windows on the screen: a window placed beside or below another
// must not open where the user cannot see it (a 1280 x 800 screen holds
// little beside a main window).

#include <QRect>

class QWidget;

namespace pitwall::gui {

// The frame moved (not resized) into the available area as far as it fits;
// where it is larger than the area, its top left corner stays visible, so
// the title bar can always be grabbed.
QRect MovedOntoScreen(QRect frame, const QRect& available);

// The available area of the screen the reference window is on (the primary
// screen without a reference or a screen).
QRect AvailableAreaOf(const QWidget* reference);

// Moves the top-level window so that its frame starts at frameTopLeft, or
// as near to it as the screen of the reference window allows.
void MoveOntoScreen(QWidget* window, QPoint frameTopLeft, const QWidget* reference);

// Handles the layout requests that showing a window posted, so that it has
// its final size before it is placed or painted. A tab bar lays out its
// captions only when it is shown: a window with tabs recaptioned before
// that would otherwise open at a stale size and grow in the next turn of
// the event loop (drawn twice, and placed by a width it no longer has).
void SettleShownLayout(QWidget* window);

} // namespace pitwall::gui
