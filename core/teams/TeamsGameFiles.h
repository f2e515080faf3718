#pragma once
// Teams and drivers in the game's own files. GP3.EXE holds the car numbers,
// the performance values, the pit order and the tyre suppliers; the savegame
// F1GSTATE.SAV holds the names and the marks of the drivers a player chose.
// The transfer layer opens both files once and hands them in; these routines
// only position, read and write.

#include "teams/TeamTable.h"

#include <cstdint>
#include <vector>

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

// What a stretch of bytes in GP3.EXE or F1GSTATE.SAV holds of the teams and
// drivers data, so a change can be named for what it means.
enum class TeamsPart {
    Drivers,     // a team's drivers: car numbers, names, the player's marks, performance
    NameEngine,  // a team's name or engine name
    Performance, // a team's qualifying and race performance, failure rate
    PitOrder,    // the pit order (one block for all teams)
    Tyres,       // a team's tyre supplier
};

struct TeamsBytes {
    TeamsPart part = TeamsPart::Drivers;
    int team = 0; // slot 0..10; 0 for the pit order
    friend bool operator==(const TeamsBytes&, const TeamsBytes&) = default;
};

// The parts the bytes [offset, offset + length) of the executable (or of the
// savegame, `savegame`) touch, each once, in the file's order; none when
// they lie outside the teams data or the version or format is unknown.
std::vector<TeamsBytes> TeamsBytesAt(bool savegame, std::uint64_t offset, std::uint64_t length, int gameVersion,
                                     int savegameFormat);

} // namespace pitwall
