#pragma once
// TForm13 "Strecken": the sixteen track slots of the working set, one slot
// at a time, on ten pages: lap records, track data, pit stop strategies, the
// JAMs the track file needs, track pictures, the computer car setup, bumps,
// the track file's GP3INFO block, the track-map sections and the texts of
// every language. The editor keeps the slot list and the transfers; each
// page is a class of its own (Track*Pages.h).

#include "EditorStates.h"
#include "EditorWindow.h"
#include "TrackPage.h"

#include <array>
#include <string>

class QCheckBox;
class QStatusBar;
class QTabWidget;

namespace pitwall::gui {

class SwapListWidget;
class TrackPicturesPage;

class TracksEditor : public EditorWindow {
    Q_OBJECT
public:
    explicit TracksEditor(AppContext& app, QWidget* parent = nullptr);

    void store() override;
    void restore() override;
    void setUp() override;
    std::vector<std::string> workingFiles() const override;
    void applyLanguage() override;
    // The track slot shown, for the controls of every page.
    QString recordOf(const QWidget* control) const override;

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
    void loadPicture(const std::string& file);

private:
    QWidget* buildLeftColumn();

    TrackTable& table();
    TracksEditorState& state();

    void showAll();
    void fillTrackList();
    void updateTrackEntries();
    void showSlot(int slot);
    void storeSlot();
    void runTransfer(bool exportToGame, bool everything);

    TrackPageContext context_;
    SwapListWidget* trackList_;
    QCheckBox* dragTracks_;
    QTabWidget* pages_;
    std::array<TrackPage*, kPageCount> pageList_{};
    TrackPicturesPage* pictures_;
    QStatusBar* statusBar_;
};

} // namespace pitwall::gui
