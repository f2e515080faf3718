#pragma once
// What an editor shows while no data at all is loaded: one line saying how
// to begin and the two ways in (import from the game, open a carset), laid
// over the editor's greyed controls above its status bar.

#include <QFrame>
#include <functional>

class QLabel;
class QPushButton;

namespace pitwall {
class UITexts;
}

namespace pitwall::gui {

class NoDataPanel : public QFrame {
    Q_OBJECT
public:
    NoDataPanel(QWidget* editor, std::function<void()> importFromGame, std::function<void()> openCarset);
    void applyLanguage(const UITexts& texts);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followEditor();

    QLabel* line_;
    QPushButton* import_;
    QPushButton* open_;
};

} // namespace pitwall::gui
