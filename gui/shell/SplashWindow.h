#pragma once
// TForm23: the borderless splash window shown while the program starts.

#include <QWidget>

namespace pitwall {
class UITexts;
}

namespace pitwall::gui {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // Describes the program's picture to assistive technology, as the about
    // window does, once the language is known (the splash shows before).
    void describe(const UITexts& texts);
};

} // namespace pitwall::gui
