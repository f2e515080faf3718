#pragma once
// TForm3 "Edit text": a multi-line text with OK and Cancel.

#include <QDialog>

class QPlainTextEdit;

namespace pitwall {
class UITexts;
}

namespace pitwall::gui {

class TextEditDialog : public QDialog {
    Q_OBJECT
public:
    explicit TextEditDialog(const UITexts& texts, QWidget* parent = nullptr);
    QPlainTextEdit* memo() const { return memo_; }

private:
    QPlainTextEdit* memo_;
};

} // namespace pitwall::gui
