#pragma once
// The main window's status line while the stand-in palette is in use: 8-bit
// pictures then show colours that are not the game's, and the user is told
// where to choose the real palette. Without the stand-in the line is hidden.

class QMainWindow;

namespace pitwall::gui {

class AppContext;

// Shows, updates or hides the notice (a label "LabelStandInPalette" in the
// window's status bar) for the palette now in use and the language.
void UpdatePaletteNotice(QMainWindow& window, AppContext& app);

} // namespace pitwall::gui
