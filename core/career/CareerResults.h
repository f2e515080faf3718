#pragma once
// The career results the user collects from the game's season reports: per
// season, 16 Grand Prix with three kinds of result each. They live in memory
// only, for the run of the program.

#include "career/SeasonReport.h"

#include <array>
#include <string>
#include <vector>

namespace pitwall {

inline constexpr int kCareerGrandsPrix = 16;
enum class ResultKind { Race = 0, FastestLaps = 1, Grid = 2 };
inline constexpr int kResultKinds = 3;

struct CareerSeason {
    std::string name;
    std::array<std::array<SeasonResult, kResultKinds>, kCareerGrandsPrix> results{};

    SeasonResult& result(int grandPrix, int kind)
    {
        return results.at(static_cast<std::size_t>(grandPrix)).at(static_cast<std::size_t>(kind));
    }
};

struct CareerResults {
    std::vector<CareerSeason> seasons;
};

// The shown result as CSV (UTF-8, comma-separated, quoted where needed):
// position, driver, team, time as shown, milliseconds.
std::string ResultAsCsv(const SeasonResult& result);

} // namespace pitwall
