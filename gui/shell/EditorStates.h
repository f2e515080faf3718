#pragma once
// What the editors remember from one opening to the next during a run: the
// windows themselves are made anew each time the main window opens them.

#include "career/CareerResults.h"
#include "teams/QuickSettings.h"

#include <array>

namespace pitwall::gui {

// Rows of a quick-settings group, in the order the editor shows them.
enum QuickRow { kQuickAverage, kQuickMinimum, kQuickMaximum, kQuickRowCount };

using QuickSteps = std::array<int, kQuickRowCount>;

struct TeamsEditorState {
    int team = 0;        // row of the team list
    int page = 0;        // Teamdaten, Fahrerdaten, Verschiedenes
    int teamField = 0;   // TeamValue of the team quick settings
    int driverField = 0; // DriverValue of the driver quick settings
    std::array<QuickSteps, 3> teamSteps{};
    std::array<QuickSteps, 4> driverSteps{};

    TeamsEditorState()
    {
        for (int f = 0; f < 3; ++f)
            teamSteps[static_cast<std::size_t>(f)].fill(DefaultQuickStep(static_cast<TeamValue>(f)));
        for (int f = 0; f < 4; ++f)
            driverSteps[static_cast<std::size_t>(f)].fill(DefaultQuickStep(static_cast<DriverValue>(f)));
    }
};

// The cockpit editor's choices; 255 for the object or LCD text means none.
struct CockpitEditorState {
    int page = 0;
    int variant = 0; // 0 software, 1 hardware
    int object = 255;
    int lcdText = 255;
    int language = 0;
    int screen = 0;
    int element = 0;
};

struct MiscEditorState {
    int page = 0;   // Punkteverteilung .. On-Board-Kameras
    int camera = 0; // row of the camera list
    int part = -1;  // car part highlighted on the damage page
};

struct SoundsEditorState {
    bool selectAll = false; // "Alle anwählen"
};

struct MenuGraphicsEditorState {
    int page = 0;      // team art, loading pictures, backgrounds
    int innerPage = 0; // Teamgrafiken, Fahrergrafiken
    int team = 0;      // row of the team list
    int loadingPicture = 0;
    int background = 0; // row of the background list
    bool showBackground = true;
    int carFrame = 0;    // 0..29
    int helmetFrame = 0; // 0..2
};

struct TracksEditorState {
    int slot = 0;        // row of the track list
    int page = 0;        // one of the ten pages
    int pictureKind = 0; // 0 small, 1 full-screen
    int pictureView = 0; // "Ansicht 1".."Ansicht 4"
    int zoom = 0;        // "1 x", "1 / 2 x", "1 / 3 x"
    int sectionsView = 0;
    int language = 1; // the language the texts page shows
};

// The 3D graphics editor: the list positions and choices of every page.
struct GraphicsEditorState {
    int page = 0;
    std::array<int, 7> team{};    // racing team (tyre type on the tyre page) per page
    std::array<int, 7> variant{}; // 0 software, 1 hardware
    int helmet = 0;
    int bodyPart = 0;
    int texture = 0;
    int flagType = 0;
    int tyreView = 0;
    bool animation = false;
};

struct EditorStates {
    TeamsEditorState teams;
    CockpitEditorState cockpit;
    MiscEditorState misc;
    int textsLanguage = 0; // the texts editor's language
    CareerResults career;  // the career window's results (memory only)
    int careerSeason = 0, careerGrandPrix = 0, careerKind = 0;
    SoundsEditorState sounds;
    MenuGraphicsEditorState menuGraphics;
    TracksEditorState tracks;
    GraphicsEditorState graphics;
};

} // namespace pitwall::gui
