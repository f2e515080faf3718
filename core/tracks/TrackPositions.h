#pragma once
// Where the game keeps the track data, per game version (v1.00, and both
// v1.13 builds which share every position) and savegame format.
//
// GP3.EXE, relative to each slot's track base:
//   base - 20  computer car setup, 8 bytes, each stored as value + 151
//   base + 0   grip u16             base + 48  fuel player, computer u16
//   base + 80 (v1.00) / + 84 (v1.13)  pit stop strategies, 24 x u16
//   base + 160 bumps: (position, strength) u16 pairs up to a position 0xFFFF
// and at fixed places: a 10-byte record per slot (year, metres, feet u16,
// laps u8, day word u16: 0 Friday, else Thursday), a second copy of the laps
// (one byte per slot; the game uses this one), the 16 track file names
// ("CIRCUITS\" + name, blank-padded to 19, a zero byte) and the stream of
// the track-map labels.
// F1GSTATE.SAV: per slot 89 bytes: two lap records (driver 24, team 14, lap
// time u32, date u16 counted from 1 January 1978) and one byte.

#include "tracks/TrackTable.h"

#include <array>
#include <cstdint>

namespace pitwall {

struct TrackExePositions {
    std::array<std::uint32_t, kTrackCount> bases;
    std::uint32_t strategiesOffset;
    std::uint32_t records;
    std::uint32_t secondLaps;
    std::uint32_t fileNames;
    std::uint32_t sectionsStart;
    std::uint32_t sectionsEnd;
};

// Game version 1..3; std::invalid_argument otherwise.
const TrackExePositions& TrackExeAt(int gameVersion);
// The bumps one slot's block of GP3.EXE has room for: the pairs from
// base + 160 up to the next slot's car setup (the last slot: up to the
// second laps copy), less the pair that holds the end mark.
int BumpRoom(const TrackExePositions& at, int slot);
// Savegame format 1..2; std::invalid_argument otherwise.
std::uint32_t LapRecordsAt(int savegameFormat);

inline constexpr int kSetupBias = 151;
inline constexpr int kSetupBefore = 20;
inline constexpr int kFuelOffset = 48;
inline constexpr int kBumpsOffset = 160;
inline constexpr std::size_t kTrackRecordStride = 10;
inline constexpr std::size_t kFileNameFieldSize = 20;
inline constexpr std::size_t kLapRecordsSlotSize = 89;
inline constexpr const char* kCircuitsPrefix = "CIRCUITS\\";

} // namespace pitwall
