#pragma once
// The thin main window (TForm1): menu, tool bar and status bar; the editors
// open below it.

#include "QtMessages.h"
#include "app/ProgramState.h"

#include <QMainWindow>

class QLabel;

namespace pitwall::gui {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(ProgramState& state, QtMessages& messages);

    // The first activation: validates the installation (asking for the game
    // directory until it is right or the user gives up). Returns false when
    // the user chose to end the program.
    bool firstActivation();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool chooseGameDirectory();
    void updateStatusBar();

    ProgramState& state_;
    QtMessages& messages_;
    QLabel* versionLabel_ = nullptr;
    QLabel* directoryLabel_ = nullptr;
    bool cleanedUp_ = false;
};

} // namespace pitwall::gui
