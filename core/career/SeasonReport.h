#pragma once
// The game's season report gpsaves\seasona1.txt: after a line "(n ...)" with
// the race number, 22 entries from the line starting "1.", each three lines:
// "<position>. <driver>  <time>", the team, and one line more. Times are
// the winner's race time ("1:31:45.996"), a gap ("+12.345"), laps behind
// ("-2") or no time at all ("DNF").

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

class UITexts;

inline constexpr int kSeasonReportEntries = 22;
inline constexpr const char* kSeasonReportGamePath = "gpsaves\\seasona1.txt";

struct SeasonEntry {
    std::string driver; // Windows-1252, as in the report
    std::string team;
    std::uint32_t time = 0; // milliseconds; 0 without a time
    // Laps behind the winner ("-n"); the time is then the winner's time plus
    // n average laps, or the winner's time when the race's laps are unknown.
    int lapsBehind = 0;
    std::string timeText; // as the report wrote it
};

struct SeasonResult {
    std::vector<SeasonEntry> entries; // at most 22
    std::uint32_t laps = 0;           // laps of the race; the report does not say
    bool valid = false;               // all 22 entries were read
};

struct SeasonReportRead {
    SeasonResult result;
    int raceNumber = 0;
    bool found = false; // the race number and the first entry were found
};

// A time text in milliseconds (see above). `firstTime` is the winner's
// time, `laps` the race's laps (0: unknown). A "-n" text sets lapsBehind.
std::uint32_t ConvertReportTime(std::string_view text, std::uint32_t firstTime, std::uint32_t laps,
                                int* lapsBehind = nullptr);

// Reads a report's text (any line ends). A report that ends before its 22nd
// entry keeps the entries it has (result.valid false).
SeasonReportRead ParseSeasonReport(std::string_view text, std::uint32_t laps = 0);

// "1.33.200", with hours "1.31.45.996"; the winner's time plus "+n laps"
// for a lapped entry whose time could not be worked out, the report's own
// text for an entry without a time. The lap words come from `texts` (UI
// texts 156 and 158) when given, else they are English (result files and the
// command line).
std::string ShownReportTime(const SeasonEntry& entry, std::uint32_t laps, const UITexts* texts = nullptr);

} // namespace pitwall
