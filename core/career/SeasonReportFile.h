#pragma once
// Reading the season report of an installation from disk.

#include "career/SeasonReport.h"

#include <optional>
#include <string>

namespace pitwall {

class Messenger;

// A report is a few kilobytes; anything larger is not one.
inline constexpr std::uint64_t kMaxSeasonReportBytes = 1'000'000;

// gpsaves\seasona1.txt of the game directory. Nothing when the file is
// missing (UI text 349 with its name) or unreadable (the reason).
std::optional<SeasonReportRead> ReadSeasonReport(const std::string& gameDirectory, std::uint32_t laps,
                                                 Messenger& messenger);

} // namespace pitwall
