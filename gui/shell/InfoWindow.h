#pragma once
// TForm11 "Info": shown at the first start and from the help menu.

#include <QDialog>
#include <functional>

namespace pitwall::gui {

class AppContext;

class InfoWindow : public QDialog {
    Q_OBJECT
public:
    explicit InfoWindow(AppContext& app, QWidget* parent = nullptr);
    // Runs when "Backup-option" is pressed (the backup window).
    std::function<void()> showBackup;
};

} // namespace pitwall::gui
