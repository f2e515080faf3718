#pragma once
// TForm23: the borderless splash window shown while the program starts. It
// stays on top, so it steps aside as soon as the start shows a window of its
// own (a message, the info window, the options dialog, the import's
// progress): on top of them it would hide their middle.

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace pitwall::gui
