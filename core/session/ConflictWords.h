#pragma once
// Bytes two carsets would both write, said as the user knows them: "both
// change team 3's drivers", "both replace art entry 412"; where nothing
// better is known, the item's name, the file and the byte ranges.

#include "app/ProgramState.h"
#include "transfer/CarsetConflicts.h"

#include <string>
#include <vector>

namespace pitwall {

// One line per thing the overlaps (of one pair of carsets) show both change,
// each once: team by team, the art-bank entries, then what has no better
// words (UI texts, Windows-1252). The installation is the one in `program`
// (its version and savegame format decide where the teams data lies; its
// art bank where each entry's bytes lie).
std::vector<std::string> OverlapWords(const std::vector<ItemOverlap>& overlaps, const ProgramState& program);

namespace conflict_text {
inline constexpr int kTeamDrivers = 1216, kTeamNameEngine = 1217, kTeamPerformance = 1218, kPitOrder = 1219,
                     kTeamTyres = 1220, kArtEntry = 1221, kArtEntries = 1222, kItemBytes = 1223;
} // namespace conflict_text

} // namespace pitwall
