#pragma once

#include <QString>

namespace pitwall::gui {

class AppContext;
class MainWindow;

// texts-en.png, texts-de.png, career-en.png, career-de.png in `out`.
void SaveTextsShots(AppContext& app, MainWindow& window, const QString& out);

} // namespace pitwall::gui
