#pragma once
// A quick estimate of how the grid would line up in qualifying and in the
// race: every driver gets a score (a lap time in milliseconds, lower is
// better) from his strength and consistency and his team's performance,
// optionally with a random share that grows with inconsistency.

#include "teams/TeamTable.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace pitwall {

struct SimulationEntry {
    std::int32_t score = 0;
    std::int32_t driverIndex = 0;

    friend bool operator==(const SimulationEntry&, const SimulationEntry&) = default;
};

// Sorted by score, best first.
using SimulationResult = std::array<SimulationEntry, kDriverCount>;

// A uniformly distributed integer in [0, bound), bound > 0.
using RandomBelow = std::function<int(int bound)>;

// A generator for RandomBelow seeded with `seed`; each call of the returned
// function draws the next number.
RandomBelow MakeRandomBelow(std::uint32_t seed);

// Score of driver d = 90000 - 2 x (strength - consistency + 25 x (team
// performance - 820) - 16300), from QP, QA and TQP for qualifying and RP, RA
// and TRP for the race. With `randomise` a draw from [0, 2 x consistency) is
// added (nothing when the consistency is 0; `random` is only called then).
SimulationResult SimulateQualifying(const TeamTable& table, bool randomise, const RandomBelow& random);
SimulationResult SimulateRace(const TeamTable& table, bool randomise, const RandomBelow& random);

// The ranking as 22 lines "label=value", best first. The label is the driver
// name, or the team name followed by the driver number within the team in
// brackets ("Wilmore[1]"); the value is the score, or with `relative` the gap
// to the best score as "+gap" on every line after the first.
std::vector<std::string> FormatSimulationResult(const SimulationResult& result, const TeamTable& table, bool relative,
                                                bool driverNames);

// A line of FormatSimulationResult split into its label and its value (a
// leading "+" accepted). The label may itself hold "=", so the split is at
// the last one; a value that is not a number gives 0.
std::pair<std::string, std::int32_t> SplitSimulationLine(const std::string& line);

// Milliseconds as a lap time: minutes, seconds with two digits, thousandths
// with three, separated by points (93200 gives "1.33.200", 0 "0.00.000").
std::string FormatLapTime(std::int32_t milliseconds);

} // namespace pitwall
