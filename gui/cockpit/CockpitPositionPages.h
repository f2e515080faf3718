#pragma once
// The cockpit editor's pages of positions: the cockpit objects (outlined
// over the cockpit with their parent area) and the LCD texts. Their values
// are written back when another entry is chosen, before a transfer and when
// the window goes.

#include "CockpitPage.h"

#include <array>

class QComboBox;
class QListWidget;
class QSpinBox;

namespace pitwall::gui {

class CockpitObjectsPage : public CockpitPage {
    Q_OBJECT
public:
    CockpitObjectsPage(CockpitPageContext& context, int number, QWidget* parent);

    Image picture(Image cockpit) const override;
    int statusItem() const override;
    void showState() override;
    void store() override;
    QString record() const override;

private:
    void showObject(int index);

    QListWidget* objectList_ = nullptr; // ListBox12
    QComboBox* parent_ = nullptr;       // ComboBox6
    QSpinBox* objectLeft_ = nullptr;    // SpinEdit73
    QSpinBox* objectTop_ = nullptr;     // SpinEdit74
    int shownObject_ = -1;
};

class CockpitLcdTextsPage : public CockpitPage {
    Q_OBJECT
public:
    CockpitLcdTextsPage(CockpitPageContext& context, int number, QWidget* parent);

    Image picture(Image cockpit) const override;
    int statusItem() const override;
    void showState() override;
    void store() override;
    QString record() const override;

private:
    void showLcdText(int index);

    QListWidget* textList_ = nullptr;      // ListBox2
    std::array<QSpinBox*, 4> textSpins_{}; // SpinEdit1..4: left, top, width, height
    int shownText_ = -1;
};

} // namespace pitwall::gui
