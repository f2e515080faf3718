#pragma once
// What the editors remember from one opening to the next during a run: the
// windows themselves are made anew each time the main window opens them.

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
    GraphicsEditorState graphics;
};

} // namespace pitwall::gui
