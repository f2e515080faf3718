#pragma once

#include <QString>

namespace pitwall::gui {

class AppContext;
class MainWindow;

// graphics-<page>.png for the seven pages of the 3D graphics editor.
void SaveGraphicsShots(AppContext& app, MainWindow& window, const QString& out);

} // namespace pitwall::gui
