#pragma once
// TForm13 "Strecken": the sixteen track slots of the working set, one slot
// at a time, on ten pages: lap records, track data, pit stop strategies, the
// JAMs the track file needs, track pictures, the computer car setup, bumps,
// the track file's GP3INFO block, the track-map sections and the texts of
// every language. The pages are built and filled in the files
// TracksEditor*.cpp, one group of pages each.

#include "EditorStates.h"
#include "EditorWindow.h"
#include "formats/Image.h"
#include "formats/TrackFile.h"

#include <QDate>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QTreeWidget;

namespace pitwall {
struct TrackInfo;
struct TrackTable;
} // namespace pitwall

namespace pitwall::gui {

class SwapListWidget;
class TrackPictureView;

class TracksEditor : public EditorWindow {
    Q_OBJECT
public:
    explicit TracksEditor(AppContext& app, QWidget* parent = nullptr);

    void store() override;
    void restore() override;
    void setUp() override;
    void applyLanguage() override;

    // The pages in their order.
    enum Page {
        kRecordsPage,
        kTrackDataPage,
        kPitStopPage,
        kTrackInfoPage,
        kPicturesPage,
        kSetupPage,
        kBumpsPage,
        kGp3InfoPage,
        kSectionsPage,
        kTextsPage,
        kPageCount
    };

    // Commands, public for the tests as the buttons call them.
    void moveSelected(int to);
    void computeLengthFromLaps();
    void computeLapsFromLength();
    void recomputeStrategyLaps();
    void fewerStops();
    void moreStops();
    void perfectStrategy();
    void checkJams(bool hardware);
    void loadPicture(const std::string& file);
    void takeFromGp3Info(int field);
    void useTextForAllTracks(int kind);

private:
    struct LapRecordControls {
        QLineEdit* driver = nullptr;
        QLineEdit* team = nullptr;
        QLineEdit* time = nullptr;
        QDateEdit* date = nullptr;
        // What the fields showed: only a field the user changed is stored,
        // so a value the field cannot show is not replaced by what it shows.
        QString shownTime;
        QDate shownDate;
    };
    struct StrategyControls {
        QSpinBox* percentage = nullptr;
        std::array<QSpinBox*, 3> lap{};
        std::array<QSpinBox*, 3> window{};
    };

    QWidget* buildLeftColumn();
    QWidget* buildRecordsPage();
    QWidget* buildTrackDataPage();
    QWidget* buildPitStopPage();
    QWidget* buildSetupPage();
    QWidget* buildBumpsPage();
    QWidget* buildTrackInfoPage();
    QWidget* buildGp3InfoPage();
    QWidget* buildTextsPage();
    QWidget* buildPicturesPage();
    QWidget* buildSectionsPage();

    TrackTable& table();
    TracksEditorState& state();
    TrackInfo& info();

    void showAll();
    void fillTrackList();
    void updateTrackEntries();
    void showSlot(int slot);
    void storeSlot();
    void showRecords();
    void storeRecords();
    void showTrackData();
    void storeTrackData();
    void showStrategies();
    void storeStrategies();
    void showSetup();
    void storeSetup();
    void showBumps();
    void storeBump();
    void showTrackInfo();
    void showGp3Info();
    void showTexts();
    void storeTexts();
    void showPicture();
    void showSections();
    void storeSection();
    void showSection(int index);
    void showSectionLimits();
    void describeSectionAt(int x, int y);
    void runTransfer(bool exportToGame, bool everything);

    int shown_ = -1;        // slot the controls show
    int shownBump_ = -1;    // bump the edit fields show
    int shownSection_ = -1; // section the edit fields show
    // Set while the controls are refilled after a transfer: the handlers
    // of the section and view controls must not write half-filled controls
    // back.
    bool busy_ = false;

    SwapListWidget* trackList_;
    QCheckBox* dragTracks_;
    QTabWidget* pages_;
    QStatusBar* statusBar_;

    std::array<LapRecordControls, 2> records_{};

    QSpinBox* grip_;
    QSpinBox* laps_;
    QSpinBox* metres_;
    QSpinBox* feet_;
    QSpinBox* fuelPlayer_;
    QSpinBox* fuelComputer_;
    QSpinBox* year_;
    QComboBox* practiceDay_;
    QListWidget* trackFiles_;

    std::array<StrategyControls, 3> strategies_{};

    std::array<QScrollBar*, 8> setup_{};
    std::array<QLabel*, 8> setupValues_{};

    QTreeWidget* bumps_;
    QSpinBox* bumpIndex_;
    QSpinBox* bumpPosition_;
    QSpinBox* bumpStrength_;

    QListWidget* jams_;
    QLabel* jamCount_;
    QPushButton* checkSoftware_;
    QPushButton* checkHardware_;

    QTreeWidget* gp3Info_;
    QCheckBox* gp3InfoFound_;
    TrackInfoBlock gp3Block_;

    std::array<QPushButton*, 8> flags_{};
    std::array<QLineEdit*, 7> texts_{};

    TrackPictureView* picture_;
    QComboBox* pictureKind_;
    QComboBox* pictureView_;
    QComboBox* zoom_;
    QScrollBar* scrollX_;
    QScrollBar* scrollY_;
    QCheckBox* markSections_;
    QLabel* sectionUnderPointer_;
    Image shownPicture_;

    QComboBox* sectionsView_;
    QTreeWidget* sections_;
    QLineEdit* sectionName_;
    std::array<QSpinBox*, 4> sectionCorners_{};
    QSpinBox* sectionGear_;
    QSpinBox* sectionSpeed_;
    QLabel* sectionCount_;
    QLabel* sectionChars_;
};

} // namespace pitwall::gui
