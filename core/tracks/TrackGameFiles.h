#pragma once
// The track data in GP3.EXE and F1GSTATE.SAV (positions in TrackPositions.h).
// Each routine works on the slots marked in `slots` only, reads into a copy
// and changes the table only when every read succeeded; a read past the end
// of a file throws GameFileError. Writers check that every block fits before
// they write anything.

#include "tracks/TrackTable.h"

#include <array>
#include <string>

namespace pitwall {

class GameFile;

using SlotMask = std::array<bool, kTrackCount>;

void ReadLapRecords(TrackTable& table, const GameFile& save, int savegameFormat, const SlotMask& slots);
void WriteLapRecords(const TrackTable& table, GameFile& save, int savegameFormat, const SlotMask& slots);

// File names, grip, strategies, fuel values, the 10-byte record, the second
// laps copy (which wins), the computer car setup and the bumps.
void ReadTrackParameters(TrackTable& table, const GameFile& exe, int gameVersion, const SlotMask& slots);
// The track file names alone (the name a slot's track file is saved under).
void ReadTrackFileNames(TrackTable& table, const GameFile& exe, int gameVersion, const SlotMask& slots);
// Grip, strategies, fuel values, the 10-byte record, the second laps copy
// and the car setup. Bumps and file names are not written here.
void WriteTrackParameters(const TrackTable& table, GameFile& exe, int gameVersion, const SlotMask& slots);
// The bumps of one slot, then the end mark (position 0xFFFF). Only as many
// as the slot's block has room for are written; returns how many did not
// fit. The words after the end mark stay as they are.
int WriteBumps(const TrackInfo& info, GameFile& exe, int gameVersion, int slot);
// The 20-byte name fields: "CIRCUITS\" + name, blank-padded to 19, a zero.
void WriteTrackFileName(const std::string& name, GameFile& exe, int gameVersion, int slot);

// The name as the game's field holds it: characters after "CIRCUITS\" (at
// most ten), upper case, blanks trimmed.
std::string TrackFileNameFromField(const std::string& field);

// Lap record dates: Windows date serial <-> the savegame's word.
std::uint16_t SavegameDateWord(std::uint32_t serial);
constexpr std::uint32_t DateFromSavegameWord(std::uint16_t word) { return word + kSavegameDateBase; }

} // namespace pitwall
