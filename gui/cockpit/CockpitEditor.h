#pragma once
// TForm16 "Cockpit": the cockpit graphics, the positions of the cockpit
// objects and LCD texts drawn over the cockpit, and the LCD displays of every
// language with the LCD emulated in the LCD font. The window shows and
// changes the working set's cockpit tables; the transfers move them.
//
// Pages (PageControl6): graphics, cockpit objects, LCD texts, LCD display;
// each with the choice of the cockpit set it draws over ("Anzeige:") and a
// status bar telling whether that set is loaded.

#include "EditorStates.h"
#include "EditorWindow.h"

#include "cockpit/LcdFont.h"
#include "formats/Image.h"

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QTimer;

namespace pitwall {
struct CockpitData;
struct LcdElement;
} // namespace pitwall

namespace pitwall::gui {

class CockpitEditor : public EditorWindow {
    Q_OBJECT

public:
    enum Page { kGraphicsPage, kObjectsPage, kTextsPage, kLcdPage, kPageCount };

    explicit CockpitEditor(AppContext& app, QWidget* parent = nullptr);

    void store() override;
    void restore() override;
    void setUp() override;
    void applyLanguage() override;

    // The picture the current page shows, as drawn last.
    const Image& shownPicture() const { return shown_; }

private:
    QWidget* buildGraphicsPage();
    QWidget* buildObjectsPage();
    QWidget* buildTextsPage();
    QWidget* buildLcdPage();
    // "Anzeige:" with its two buttons, and the page's picture and status bar.
    QWidget* buildPageFrame(Page page, QWidget* controls);

    CockpitData& cockpit();
    CockpitEditorState& state();
    bool loaded(int item) const;
    void runImport(const std::vector<int>& items);
    void runExport(const std::vector<int>& items);
    void chooseVariant(int variant);
    void showAll();
    void updateStatus();
    void redraw();
    void showPicture(const Image& picture, int scale);

    // Graphics page.
    void saveSheet();
    void loadSheet();

    // Objects and LCD texts pages; their values are written back when
    // another entry is chosen, before an export and when the window goes.
    void showObject(int index);
    void storeObject();
    void showLcdText(int index);
    void storeLcdText();
    void drawObjects(Image& picture) const;
    void drawLcdTexts(Image& picture) const;

    // LCD display page; every change is written at once.
    void fillScreens();
    void showScreen(int screen);
    void fillElementList();
    void showElement(int element);
    LcdElement* chosenElement();
    void elementNumberChanged(int byte, int value);
    void elementTextChosen(int index);
    void elementTextEdited(const QString& text);
    void elementTypeChosen(int type);
    Image renderEmulation() const;
    std::vector<int> allLanguageItems() const;

    QTabWidget* pages_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    std::array<QRadioButton*, 2 * kPageCount> variantButtons_{};
    std::array<QStatusBar*, kPageCount> pageStatus_{};
    std::array<QLabel*, kPageCount> pictures_{};
    Image shown_;

    QListWidget* objectList_ = nullptr; // ListBox12
    QComboBox* parent_ = nullptr;       // ComboBox6
    QSpinBox* objectLeft_ = nullptr;    // SpinEdit73
    QSpinBox* objectTop_ = nullptr;     // SpinEdit74
    int shownObject_ = -1;

    QListWidget* textList_ = nullptr;      // ListBox2
    std::array<QSpinBox*, 4> textSpins_{}; // SpinEdit1..4: left, top, width, height
    int shownText_ = -1;

    QListWidget* languages_ = nullptr;        // ListBox1
    QListWidget* screens_ = nullptr;          // ListBox13
    QListWidget* elements_ = nullptr;         // ListBox14
    std::array<QSpinBox*, 4> elementSpins_{}; // bytes 1..4: SpinEdit102, 103, 104, 105
    QLabel* positionLabel_ = nullptr;
    QLabel* fineLabel_ = nullptr;
    QComboBox* elementText_ = nullptr; // ComboBox9
    QComboBox* elementType_ = nullptr; // ComboBox1
    QCheckBox* outside_ = nullptr;     // CheckBox1
    QTimer* timer_ = nullptr;          // Timer1
    bool showing_ = false;             // controls being filled from the working set
    LcdFont font_;
};

} // namespace pitwall::gui
