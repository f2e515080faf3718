#pragma once
// TForm22: the developer's list of every UI text with its number.

#include <QDialog>

class QLabel;
class QListWidget;

namespace pitwall {
class UITexts;
}

namespace pitwall::gui {

class UITextViewer : public QDialog {
    Q_OBJECT
public:
    explicit UITextViewer(QWidget* parent = nullptr);
    void fill(const UITexts& texts);

private:
    QListWidget* list_;
    QLabel* number_;
};

} // namespace pitwall::gui
