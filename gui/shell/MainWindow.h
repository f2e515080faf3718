#pragma once
// TForm1: the thin main window (menu and tool bar). It runs the transfers,
// keeps one editor open directly below itself, and drives the status-bar
// marquee of that editor.

#include "AppContext.h"
#include "EditorWindow.h"
#include "QtMessages.h"
#include "SplashWindow.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <string>

class QTimer;
class QToolBar;

namespace pitwall {
enum class TransferOutcome;
}

namespace pitwall::gui {

class AppContext;
class EditorWindow;
class EditTracker;
class HelpWindow;
class SplashWindow;

// The manual "Hilfe" > "Inhalt" opens, in the program directory.
// The manual's HTML pages, one folder per language, beside the data.
inline constexpr const char* kManualFolder = "manual/";

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
    void readArtBankDirectory();
    void storeCurrentEditor();
    void restoreCurrentEditor();
    // Opens the editor of that class below the main window (nothing happens
    // when it is already the current one).
    void openEditor(const char* className);
    EditorWindow* currentEditor() const { return editor_; }

    // "Komplettes Set laden" of a named file (double-click, drop, command line).
    void loadCompleteCarset(const std::string& fileName);
    // The two ways in an editor without data offers.
    void importAllFromGame() { importAll(); }
    void openCarsetWithAll() { openCompleteCarset(); }
    // Runs one marquee step (the 100 ms timer calls it).
    void scrollMarquee();

    void setSplash(SplashWindow* splash);

    // The manual's page of that window (its contents for none); F1 in any
    // window of the program comes here.
    void showHelpFor(QWidget* window);
    HelpWindow* helpWindow() const;

    // Undo and redo of the user's edits (menu Edit), and the title's "*"
    // and the menu's texts after the history changed.
    void undoEdit();
    void redoEdit();
    void updateEditState();
    // Before the data is replaced or the program ends with edits neither
    // exported nor saved: "Save carset / Export / Discard / Cancel". True
    // when the caller may go on.
    bool keepEditsBeforeGoingOn();
    // Before the program ends: the editor in front keeps or drops its own
    // document first, then the working set's edits are asked about.
    bool mayQuit();

protected:
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* action(const char* name, const QString& caption, std::function<void()> handler);
    void buildMenus();
    void buildToolBar();
    // Opening an editor may move the main window up to make room below it;
    // following the user's move of the main window never does.
    enum class EditorPlacement { MakeRoom, Follow };
    void placeEditor(EditorPlacement placement);
    void fitToBars();
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
    // After an import or carset load that ran: a new history, nothing unsaved.
    void startAnew(TransferOutcome outcome);
    // After an export or carset save: the edits are kept.
    void markSavedIfDone(TransferOutcome outcome);
    void showWhatTheExportWrote();

    AppContext& app_;
    QPointer<EditorWindow> editor_;
    QPointer<SplashWindow> splash_;
    QPointer<HelpWindow> helpWindow_;
    EditTracker* editTracker_ = nullptr;
    QMenu* editMenu_ = nullptr;
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
