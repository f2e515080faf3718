#pragma once
// TForm21 "Optionen": the game directory (typed, picked from the list of game
// folders or found by the automatic search, which lists every installation
// it finds), the UI language, the two switches, the start command, the game
// palette, the restore-point limits, the history, and "Programm beenden".

#include "app/Settings.h"

#include <QDialog>
#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QSpinBox;

namespace pitwall::gui {

class AppContext;
class GameFolderList;

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionsDialog(AppContext& app, QWidget* parent = nullptr);

    void applyLanguage();
    // Called when the language list is clicked: the new language is loaded
    // and applied to every open window.
    std::function<void()> languageChanged;
    // "Programm beenden": whether the program may end now (the user keeps or
    // drops unsaved edits first, or cancels).
    std::function<bool()> mayQuit;
    // Called when another game palette is in use.
    std::function<void()> paletteChanged;

    // Escape and the close box: every setting goes back to what it was
    // when the window opened (language and palette included).
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void takeGameDirectory();
    void pickGameDirectory(const std::string& directory);
    void searchGameDirectory();
    void chooseLanguage();
    void loadHistory();
    void takePaletteFile();
    void choosePaletteFile();

    AppContext& app_;
    QLineEdit* gameDirectory_;
    GameFolderList* gameFolders_;
    QLineEdit* startCommand_;
    QListWidget* languages_;
    QCheckBox* alwaysImport_;
    QCheckBox* showExportOK_;
    QLineEdit* paletteFile_;
    QSpinBox* restorePointsKept_;
    QSpinBox* restorePointsMB_;
    QPlainTextEdit* history_;
    // As the window opened, for reject().
    Settings settingsBefore_;
    int languageBefore_ = 0;
    std::string libraryBefore_;
    bool rejecting_ = false;
};

} // namespace pitwall::gui
