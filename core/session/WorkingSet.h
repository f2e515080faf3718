#pragma once
// The one working set of game data the program holds from start to exit:
// every data area's tables, the transfer arrays and the carset information.
// Editors show and change these tables in place; they do not own them.

#include "cockpit/CockpitData.h"
#include "formats/ArtBankDirectory.h"
#include "formats/SoundBankFiles.h"
#include "graphics/GraphicsSet.h"
#include "menu/MenuArt.h"
#include "menu/TeamArtArea.h"
#include "settings/GameSettings.h"
#include "teams/TeamTable.h"
#include "texts/GameTexts.h"
#include "tracks/TrackTable.h"
#include "transfer/CarsetInfo.h"
#include "transfer/TransferState.h"

namespace pitwall {

struct WorkingSet {
    TransferState transfer;
    CarsetInfo carsetInfo;
    TeamTable teams;
    GameSettings settings;
    GameTexts gameTexts;
    CockpitData cockpit;
    TrackTable tracks;
    // The entry table of the game's art bank, read at the first activation.
    ArtDirectory artIndex;
    // The sound table; the sounds themselves are working files.
    SoundTable sounds;
    // Each racing team's art sheet (empty until imported or loaded).
    TeamArtSheets teamArt;
    // The menu backgrounds chosen for export.
    MenuReplacementList menuBackgrounds;
    GraphicsSet graphics;
};

} // namespace pitwall
