#pragma once
// TForm7 "About".

#include <QDialog>

namespace pitwall {
class UITexts;
}

namespace pitwall::gui {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(const UITexts& texts, QWidget* parent = nullptr);
};

} // namespace pitwall::gui
