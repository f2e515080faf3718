#pragma once
// The user manual inside the program: its HTML pages in a browser of their
// own (no web browser needed), in the language the program speaks.

#include "app/ManualIndex.h"

#include <QDialog>
#include <string>

class QTextBrowser;
class QPushButton;

namespace pitwall {
class UITexts;
}

namespace pitwall::gui {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    // manualDirectory holds one folder per language (en, de, ...) and
    // windows.tsv.
    HelpWindow(const UITexts& texts, std::string manualDirectory, QWidget* parent = nullptr);

    // The page describing the window with this object name, the contents
    // page for one without; false when the manual is not there.
    bool showPageFor(const QString& windowName);
    void applyLanguage();

    QTextBrowser* browser() const { return browser_; }
    // The file of the page shown.
    QString shownFile() const;

private:
    QString languageFolder() const;

    const UITexts& texts_;
    std::string manualDirectory_;
    QTextBrowser* browser_;
    QPushButton* back_;
    QPushButton* forward_;
    QPushButton* contents_;
    QPushButton* close_;
};

// Whether a key press asks for help (F1).
bool IsHelpKey(int key);

} // namespace pitwall::gui
