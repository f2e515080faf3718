#pragma once
// What the tracks editor's commands do to the working set: moving slots
// (a slot is one track: its information, sections, track file, pictures and
// loaded flags move together), the two compute buttons and the pit stop
// strategy buttons.

#include "tracks/TrackTable.h"
#include "transfer/TransferState.h"

#include <array>
#include <optional>
#include <string>

namespace pitwall {

// Moves the track at `from` to `to`; the tracks in between shift by one
// place. Picture files TrackReplace<i><j><k>.BMP in `workingDirectory`
// follow their track. Out-of-range slots change nothing.
void MoveTrack(TrackTable& table, TransferState& transfer, const std::string& workingDirectory, int from, int to);
// Exchanges two tracks (a drop in the track list).
void ExchangeTracks(TrackTable& table, TransferState& transfer, const std::string& workingDirectory, int a, int b);

// "Länge anhand Rundenzahl berechnen": 307000 div laps; nothing for 0 laps.
std::optional<std::uint16_t> LengthFromLaps(int laps);
// "Rundenzahl anhand Länge berechnen": low byte of 307000 div metres;
// nothing for a length of 0.
std::optional<std::uint8_t> LapsFromLength(int metres);

// Strategy group g (0, 1, 2 for 1, 2, 3 stops) has its percentage at word
// 8g, then (stop lap, window) pairs.
inline constexpr int kStrategyGroupWords = 8;
std::array<int, 3> StrategyPercentages(const TrackInfo& info);
// Stop laps and windows from `laps`; a group of 0 % is cleared.
void RecomputeStrategyLaps(TrackInfo& info, int laps);
// "Weniger Stopps" / "Mehr Stopps": move up to 5 points of the outer group
// and 3 of the middle one, then recompute.
void FewerStops(TrackInfo& info, int laps);
void MoreStops(TrackInfo& info, int laps);
// "Stoppstrategie perfektionieren": the percentages are scaled so that they
// add up to 100 (what rounding leaves goes to the largest group, the first
// of equals), then the laps are recomputed. All 0 stays all 0.
void PerfectStrategy(TrackInfo& info, int laps);

} // namespace pitwall
