#pragma once
// TForm15 "Grafiken": the team graphics of the working set on seven pages:
// car liveries with the car-number positions, cockpit liveries, jacks,
// helmets, pit-crew colours, tyres and flag colours. Each page imports and
// exports its own items; the window edits the working set in place.

#include "EditorStates.h"
#include "EditorWindow.h"
#include "formats/PaletteReduction.h"
#include "graphics/GraphicsPages.h"

#include <QImage>
#include <array>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QTimer;

namespace pitwall {
struct GraphicsSet;
struct JamVariants;
class TJAMFile;
} // namespace pitwall

namespace pitwall::gui {

class ColorPicker;
class GP3Image;

class GraphicsEditor : public EditorWindow {
    Q_OBJECT
public:
    explicit GraphicsEditor(AppContext& app, QWidget* parent = nullptr);

    void store() override;
    void restore() override;
    void setUp() override;
    void applyLanguage() override;

    // The car page's timer step: toggles the outline of the focused
    // car-number field (every 500 ms while the car page is shown).
    void blinkCarOutline();
    // The flag page's timer step: the next marshal frame (every 100 ms
    // while "Animation" is ticked).
    void advanceFlagFrame();
    bool blinkOn() const { return blink_; }
    int flagFrame() const { return frame_; }
    // What the car page shows, outline included.
    const QImage& carPicture() const { return carPicture_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The car, cockpit, jack and helmet pages: one JAM kind each.
    struct JamPage {
        GraphicsPage kind = GraphicsPage::Cars;
        QWidget* page = nullptr;
        QListWidget* list = nullptr;
        QGroupBox* variantGroup = nullptr;
        std::array<QRadioButton*, 2> variant{};
        GP3Image* image = nullptr;
        QPushButton* save = nullptr;
        QPushButton* load = nullptr;
        QPushButton* toHard = nullptr;
        QPushButton* toSoft = nullptr;
        std::vector<QPushButton*> transfer;
    };

    GraphicsSet& graphics();
    GraphicsEditorState& state();
    bool isLoaded(int item) const;
    GraphicsPage currentPage() const;
    int pageTeam(GraphicsPage page) const;
    int pageVariant(GraphicsPage page) const;

    // Building (by page).
    QWidget* buildJamPage(JamPage& p, GraphicsPage kind, const char* listName, const char* variantName);
    QWidget* buildCarNumbers(QWidget* parent);
    QWidget* buildPitCrewPage();
    QWidget* buildTyresPage();
    QWidget* buildFlagsPage();
    void addTransferButtons(QWidget* parent, QLayout* layout, GraphicsPage page, std::vector<QPushButton*>& buttons);

    // Showing.
    void fillLists();
    void showPage();
    void showStatus();
    void drawJamPage(JamPage& p);
    void drawCarPicture();
    void drawPitCrew();
    void drawTyres();
    void drawFlags();

    // Car-number fields.
    void showNumbers();
    void storeNumbers();
    void numberSetClick(int set);

    // Commands.
    void runTransfer(const std::vector<int>& items, bool toGame);
    void saveJamPicture(JamPage& p);
    void loadJamPicture(JamPage& p);
    void convert(JamPage& p, bool toHardware);
    void colourClick(int index);
    void gridClick(int colour, QPoint pos);
    void stepFrame(int step);
    void saveTyrePicture();
    void loadTyrePicture();

    // How a picture in other colours goes into an 8-bit JAM (the check box
    // under the pages).
    Dithering dithering() const;

    // The files of the chosen team (or both helmet sheets) in one variant,
    // top first as the pictures stack them; empty slots stay null.
    std::vector<TJAMFile*> shownJams(JamPage& p, int variant);

    QTabWidget* pages_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    std::array<JamPage, 4> jamPages_;

    std::array<QLineEdit*, kCarNumberFields> numberFields_{};
    std::array<QRadioButton*, 2> numberSets_{};
    QPushButton* numbersImport_ = nullptr;
    QPushButton* numbersExport_ = nullptr;
    QImage carPicture_;
    int numbersTeam_ = -1; // team and set the fields show
    int numbersSet_ = 0;
    int focusedField_ = -1;
    bool blink_ = false;
    QTimer* timer1_ = nullptr;

    QListWidget* crewTeams_ = nullptr;
    QListWidget* bodyParts_ = nullptr;
    QListWidget* textures_ = nullptr;
    GP3Image* crewImage_ = nullptr;
    ColorPicker* picker_ = nullptr;

    std::array<QRadioButton*, 2> tyreTypes_{};
    std::array<QRadioButton*, 3> tyreViews_{};
    GP3Image* tyreImage_ = nullptr;
    QPushButton* tyreSave_ = nullptr;
    QPushButton* tyreLoad_ = nullptr;

    QListWidget* flagTypes_ = nullptr;
    std::array<GP3Image*, 2> grids_{};
    GP3Image* flagImage_ = nullptr;
    QCheckBox* animation_ = nullptr;
    QPushButton* nextFrame_ = nullptr;
    QPushButton* previousFrame_ = nullptr;
    int frame_ = 0;
    QTimer* timer2_ = nullptr;

    QCheckBox* dither_ = nullptr;
    bool filling_ = false;
};

} // namespace pitwall::gui
