#pragma once
// The cockpit editor's LCD display page: a language's screens and their
// elements, each change written into the working set at once, and the LCD
// emulated in the LCD font.

#include "CockpitPage.h"
#include "cockpit/LcdFont.h"

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QSpinBox;

namespace pitwall {
struct LcdElement;
}

namespace pitwall::gui {

class CockpitLcdPage : public CockpitPage {
    Q_OBJECT
public:
    CockpitLcdPage(CockpitPageContext& context, int number, QWidget* parent);

    // The emulated LCD over the chosen cockpit set, not the plain preview.
    Image picture(Image cockpit) const override;
    int statusItem() const override;
    void showState() override;
    QString record() const override;

private:
    void showScreen(int screen);
    void fillElementList();
    void showElement(int element);
    LcdElement* chosenElement();
    void elementNumberChanged(int byte, int value);
    void elementTextChosen(int index);
    void elementTextEdited(const QString& text);
    void elementTypeChosen(int type);
    std::vector<int> allLanguageItems() const;

    QListWidget* languages_ = nullptr;        // ListBox1
    QListWidget* screens_ = nullptr;          // ListBox13
    QListWidget* elements_ = nullptr;         // ListBox14
    std::array<QSpinBox*, 4> elementSpins_{}; // bytes 1..4: SpinEdit102, 103, 104, 105
    QLabel* positionLabel_ = nullptr;
    QLabel* fineLabel_ = nullptr;
    QComboBox* elementText_ = nullptr; // ComboBox9
    QComboBox* elementType_ = nullptr; // ComboBox1
    QCheckBox* outside_ = nullptr;     // CheckBox1
    LcdFont font_;
};

} // namespace pitwall::gui
