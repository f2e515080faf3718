#pragma once
// The sounds editor and the pages of the menu graphics editor.

#include <QString>

namespace pitwall::gui {
class AppContext;
class MainWindow;
} // namespace pitwall::gui

void SaveMediaShots(pitwall::gui::MainWindow& window, pitwall::gui::AppContext& app, const QString& out);
