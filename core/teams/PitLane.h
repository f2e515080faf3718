#pragma once
// The pit lane: each team's pit position and the order derived from it.
// PitOrder[p] is the team slot of the team whose pit position is p; it is
// never stored, only rebuilt from the team records whenever it is needed.

#include "teams/TeamTable.h"

#include <array>
#include <cstdint>

namespace pitwall {

inline constexpr int kPitPositionCount = kTeamCount;

using PitOrder = std::array<std::uint8_t, kPitPositionCount>;

// The order of the pit lane. The pit positions of a sound table form a
// permutation of 0..10; a broken one (from a damaged file or carset) still
// gives a permutation: each position goes to the lowest team slot that claims
// it, and the teams left without a position fill the free positions in slot
// order.
PitOrder BuildPitOrder(const TeamTable& table);

// Sets every team's pit position from BuildPitOrder, so that they form a
// permutation again; a sound table is left as it is.
void RepairPitPositions(TeamTable& table);

// Exchanges the pit positions of the teams at positions a and b (0..10).
// Returns false and changes nothing when a position lies outside 0..10.
bool SwapPitPositions(TeamTable& table, int positionA, int positionB);

// The pit lane back to front: positions (0,10), (1,9), (2,8), (3,7), (4,6)
// exchange teams, the team at position 5 stays.
void ReversePitOrder(TeamTable& table);

} // namespace pitwall
