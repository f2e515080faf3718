#pragma once
// The status bar every editor shows: whether its data is loaded, the
// scrolling marquee, and the game version and savegame format.

#include <QString>
#include <functional>
#include <optional>

class QStatusBar;
class QLabel;
class QWidget;

namespace pitwall::gui {

class AppContext;

// A status bar with four panels (objectNames "Panel0".."Panel3"), named
// "StatusBar1" so the marquee finds it.
QStatusBar* CreateEditorStatusBar(QWidget* parent);
QLabel* StatusPanel(QStatusBar* bar, int index);

// Panel 0: UI text 842 when loaded, else 843. With info: panel 1 the
// marquee, panel 2 UI text 848 + the game version, panel 3 UI text 849 +
// the savegame format.
void SetupEditorStatusBar(QStatusBar* bar, bool loaded, bool withInfo, AppContext& app);

// One marquee step: a text at least `window` pixels wide advances by one
// character and repeats with " *** " between its copies; a narrower text is
// left alone (nothing is returned). `position` is 1-based, 0 before the first
// step.
std::optional<QString> NextMarqueeText(const QString& text, int& position, int window,
                                       const std::function<int(const QString&)>& widthOf);

} // namespace pitwall::gui
