#pragma once
// TForm1: the thin main window (menu and tool bar). It runs the transfers,
// keeps one editor open directly below itself, and drives the status-bar
// marquee of that editor.

#include "EditorWindow.h"
#include "QtMessages.h"
#include "SplashWindow.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <string>

class QTimer;
class QToolBar;

namespace pitwall::gui {

class AppContext;
class EditorWindow;
class SplashWindow;

// The manual "Hilfe" > "Inhalt" opens, in the program directory.
inline constexpr const char* kManualFileName = "README.md";

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppContext& app);
    ~MainWindow() override;

    // The start-up work of the first activation (runs once). Returns false
    // when the user ended the program in the options dialog.
    bool firstActivation();
    // Validates the installation, showing the options dialog until it is
    // right; false when the user ended the program.
    bool checkGameInstallation();

    void applyLanguage();
    // Makes another game folder the one in use, as choosing it in the
    // options and pressing OK does: the installation is checked (the options
    // come up until it is right) and the open editor set up again.
    void switchInstallation(const std::string& directory);
    void storeCurrentEditor();
    void restoreCurrentEditor();
    // Opens the editor of that class below the main window (nothing happens
    // when it is already the current one).
    void openEditor(const char* className);
    EditorWindow* currentEditor() const { return editor_; }

    // "Komplettes Set laden" of a named file (double-click, drop, command line).
    void loadCompleteCarset(const std::string& fileName);
    // Runs one marquee step (the 100 ms timer calls it).
    void scrollMarquee();

    void setSplash(SplashWindow* splash);

protected:
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* action(const char* name, const QString& caption, std::function<void()> handler);
    void buildMenus();
    void buildToolBar();
    void placeEditor();
    void copyHintsFromMenu();
    void fillInstallationsMenu();
    void fillRecentCarsetsMenu();
    void rememberCarset(const std::string& fileName);

    void openCarset();
    void openCompleteCarset();
    void saveCarsetAs();
    void saveCompleteCarsetAs();
    void importSelected();
    void importAll();
    void exportSelected();
    void exportAll();
    void showRestorePoints();
    void quitProgram();
    void editCarsetInfo();
    void showBackupWindow();
    void startGame();
    void showOptions();
    void openManual();
    void showInfo();
    void showAbout();
    void showUiTexts();
    void saveCarset(bool complete);
    // After an import or carset run: message 80 when something asked for
    // was not done (without the uncarried items when "everything" was asked).
    void tellWhatWasNotDone(bool withSkipped);
    void loadCarset(bool complete, const std::string& fileName);

    AppContext& app_;
    QPointer<EditorWindow> editor_;
    QPointer<SplashWindow> splash_;
    QToolBar* toolBar_ = nullptr;
    QTimer* timer_ = nullptr;
    QMenu* developerMenu_ = nullptr;
    QMenu* installationsMenu_ = nullptr;
    QMenu* recentCarsetsMenu_ = nullptr;
    int marqueePosition_ = 0;
    bool firstActivationDone_ = false;
    bool languageApplied_ = false; // the fixed dialogs built later take the texts at once
};

} // namespace pitwall::gui
