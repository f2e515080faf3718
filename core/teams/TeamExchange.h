#pragma once
// Exchanging teams and drivers between places on the grid.

#include "teams/TeamTable.h"

namespace pitwall {

// Exchanges the complete records of two team slots (0..10): names, values,
// both drivers, tyre type and pit position move together. Throws
// std::out_of_range for a slot outside 0..10.
void SwapTeams(TeamTable& table, int slotA, int slotB);

// Exchanges the complete records of two drivers by driver index (0..21), car
// number and selected mark included. Throws std::out_of_range outside 0..21.
void SwapDrivers(TeamTable& table, int driverA, int driverB);

} // namespace pitwall
