#pragma once

#include <QString>

#include <string>

namespace pitwall::gui {
class MainWindow;
}

// The workshop window over the installation in `game`: the art-bank page in
// grid view and the JAM page with one texture at 4x.
void SaveWorkshopsShots(pitwall::gui::MainWindow& window, const std::string& game, const QString& out);
