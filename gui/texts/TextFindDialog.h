#pragma once
// The texts editor's find dialog (FindDialog1): the search text, the
// direction and match case; every "Find next" asks the editor to search.

#include "texts/TextSearch.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace pitwall {
class UITexts;
}

namespace pitwall::gui {

class TextFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit TextFindDialog(const UITexts& texts, QWidget* parent = nullptr);
    // The search as set up (Windows-1252 needle).
    TextSearch search() const;
    void setSearch(const QString& text, bool down, bool matchCase);

signals:
    void findNext();

private:
    QLineEdit* text_;
    QCheckBox* matchCase_;
    QRadioButton* up_;
    QRadioButton* down_;
};

} // namespace pitwall::gui
