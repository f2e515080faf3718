#pragma once
// Teams and drivers in the game's own files. GP3.EXE holds the car numbers,
// the performance values, the pit order and the tyre suppliers; the savegame
// F1GSTATE.SAV holds the names and the marks of the drivers a player chose.
// The transfer layer opens both files once and hands them in; these routines
// only position, read and write.

#include "teams/TeamTable.h"

namespace pitwall {

class GameFile;

// Reads, in the game's order, car numbers (GP3.EXE), selection bytes and the
// names block (F1GSTATE.SAV), then the performance block, pit order and tyre
// words (GP3.EXE). `gameVersion` is 1 (v1.00), 2 (v1.13) or 3 (v1.13 with
// Gp3Video); `savegameFormat` 1 or 2. The table changes only when every read
// succeeded; a read past the end of a file throws GameFileError, an index
// outside those ranges std::invalid_argument.
void ReadTeamsFromGame(TeamTable& table, GameFile& exe, GameFile& save, int gameVersion, int savegameFormat);

// Writes the same blocks in the same order; the pit order comes from the
// teams' pit positions. Nothing else in the files changes, and nothing is
// written unless every block fits into its file. The savegame checksum is the
// caller's to renew.
void WriteTeamsToGame(const TeamTable& table, GameFile& exe, GameFile& save, int gameVersion, int savegameFormat);

} // namespace pitwall
