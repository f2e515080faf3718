#pragma once
// TForm14 "Texte": the game's texts of every language. A language list, the
// texts of the chosen language (filtered as the user types), editing one
// text through the text dialog, quick jumps, find, and the language's
// import, export and exchange with .STR and .TXT files.

#include "EditorWindow.h"

class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPushButton;
class QSortFilterProxyModel;
class QStatusBar;
class QWidget;

namespace pitwall::gui {

class TextFindDialog;
class TextListModel;

class TextsEditor : public EditorWindow {
    Q_OBJECT
public:
    explicit TextsEditor(AppContext& app, QWidget* parent = nullptr);

    void store() override;
    void restore() override;
    void setUp() override;
    void applyLanguage() override;
    // The text chosen in the list, with its language.
    QString recordOf(const QWidget* control) const override;

    // The text number selected in the list, -1 when none.
    int selectedText() const;
    // Selects text `number` (clearing a filter that hides it).
    void selectText(int number);
    // One "Find next" of the find dialog.
    void findNext();
    TextFindDialog* findDialog() const { return findDialog_; }

private:
    int language() const;
    bool languageLoaded() const;
    void showLanguage();
    void updateLabels();
    void showListedLanguage(int row);
    void editSelected();
    void quickJump(int number);
    void transferOne(bool import);
    void transferAll(bool import);
    void loadLanguageFile();
    void saveLanguageFile();

    QListWidget* languages_;
    QListView* list_;
    TextListModel* model_;
    QSortFilterProxyModel* filter_;
    QLineEdit* filterEdit_;
    QLabel* number_;
    QLabel* count_;
    QLabel* version_;
    QWidget* textControls_;
    QStatusBar* statusBar_;
    TextFindDialog* findDialog_;
};

} // namespace pitwall::gui
