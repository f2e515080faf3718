#pragma once
// TForm7 "About".

#include <QDialog>

namespace pitwall::gui {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

} // namespace pitwall::gui
