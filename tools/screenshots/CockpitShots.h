#pragma once
// Screenshots of the cockpit editor's pages.

#include <QString>

namespace pitwall::gui {

class AppContext;
class MainWindow;

void SaveCockpitShots(AppContext& app, MainWindow& window, const QString& out);

} // namespace pitwall::gui
