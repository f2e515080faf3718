#pragma once
// TForm23: the borderless splash window shown while the program starts.

#include <QWidget>

namespace pitwall::gui {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);
};

} // namespace pitwall::gui
