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
    bool FirstActivation();
    // Validates the installation, showing the options dialog until it is
    // right; false when the user ended the program.
    bool CheckGameInstallation();

    void ApplyLanguage();
    void StoreCurrentEditor();
    void RestoreCurrentEditor();
    // Opens the editor of that class below the main window (nothing happens
    // when it is already the current one).
    void OpenEditor(const char* className);
    EditorWindow* currentEditor() const { return editor_; }

    // "Komplettes Set laden" of a named file (double-click, drop, command line).
    void LoadCompleteCarset(const std::string& fileName);
    // Runs one marquee step (the 100 ms timer calls it).
    void Timer1Timer();

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

    void Setladen1Click();
    void KomplettesSetladen2Click();
    void Setspeichern1Click();
    void KomplettesSetspeichern1Click();
    void Importieren1Click();
    void Allesimportieren1Click();
    void Exportieren1Click();
    void Allesexportieren1Click();
    void Wiederherstellen1Click();
    void Beenden1Click();
    void CarsetInformationeditieren1Click();
    void Backup1Click();
    void GrandPrix3starten1Click();
    void Optionen2Click();
    void InhaltClick();
    void Info1Click();
    void About1Click();
    void Strings1Click();
    void saveCarset(bool complete);
    // After an import or carset run: message 80 when something asked for
    // was not done (without the uncarried items when "everything" was asked).
    void TellWhatWasNotDone(bool withSkipped);
    void loadCarset(bool complete, const std::string& fileName);

    AppContext& app_;
    QPointer<EditorWindow> editor_;
    QPointer<SplashWindow> splash_;
    QToolBar* toolBar_ = nullptr;
    QTimer* timer_ = nullptr;
    QMenu* developerMenu_ = nullptr;
    int marqueePosition_ = 0;
    bool firstActivationDone_ = false;
    bool languageApplied_ = false; // the fixed dialogs built later take the texts at once
};

} // namespace pitwall::gui
