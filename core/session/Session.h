#pragma once
// A running program: its state, the working set with the data areas' default
// contents, and the transfer engine with every data area registered. The
// desktop editor and the command line each make one.

#include "app/ProgramState.h"
#include "cockpit/CockpitArea.h"
#include "graphics/GraphicsAreas.h"
#include "menu/LoadingPicturesArea.h"
#include "menu/MenuBackgroundsArea.h"
#include "menu/TeamArtArea.h"
#include "session/EditHistory.h"
#include "session/WorkingSet.h"
#include "settings/SettingsArea.h"
#include "sounds/SoundsArea.h"
#include "teams/TeamsArea.h"
#include "texts/LanguagesArea.h"
#include "tracks/TracksArea.h"
#include "transfer/TransferEngine.h"

namespace pitwall {

class Session {
public:
    // The program state must be set up (directories, texts); the working
    // set gets its defaults.
    explicit Session(ProgramState& program);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    ProgramState& program;
    WorkingSet workingSet;
    // The user's edits to the working set since the last import or load.
    EditHistory edits;
    TransferEngine engine;
    TracksArea& tracksArea() { return tracksArea_; }
    GraphicsAreas& graphicsAreas() { return graphicsAreas_; }

private:
    TeamsArea teamsArea_;
    SettingsAreas settingsAreas_;
    LanguagesArea languagesArea_;
    TracksArea tracksArea_;
    MenuBackgroundsArea menuBackgroundsArea_;
    CockpitArea cockpitArea_;
    SoundsArea soundsArea_;
    TeamArtArea teamArtArea_;
    LoadingPicturesArea loadingPicturesArea_;
    GraphicsAreas graphicsAreas_;
};

} // namespace pitwall
