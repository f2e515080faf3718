#pragma once
// TForm3 "Text ändern": a multi-line text with OK and Cancel.

#include <QDialog>

class QPlainTextEdit;

namespace pitwall::gui {

class TextEditDialog : public QDialog {
    Q_OBJECT
public:
    explicit TextEditDialog(QWidget* parent = nullptr);
    QPlainTextEdit* memo() const { return memo_; }

private:
    QPlainTextEdit* memo_;
};

} // namespace pitwall::gui
