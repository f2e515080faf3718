#pragma once
// The one working set of game data the program holds from start to exit:
// every data area's tables, the transfer arrays and the carset information.
// Editors show and change these tables in place; they do not own them.

#include "formats/ArtBankDirectory.h"
#include "graphics/GraphicsSet.h"
#include "teams/TeamTable.h"
#include "texts/GameTexts.h"
#include "transfer/CarsetInfo.h"
#include "transfer/TransferState.h"

namespace pitwall {

struct WorkingSet {
    TransferState transfer;
    CarsetInfo carsetInfo;
    TeamTable teams;
    GameTexts gameTexts;
    // The entry table of the game's art bank, read at the first activation.
    ArtDirectory artIndex;
    GraphicsSet graphics;
};

} // namespace pitwall
