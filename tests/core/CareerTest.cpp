#include "TestSupport.h"

#include "base/GamePath.h"
#include "career/CareerResults.h"
#include "career/SeasonReport.h"
#include "formats/GameInstallation.h"

#include <gtest/gtest.h>

using namespace pitwall;

TEST(SeasonReportTimes, ConvertsPlainGapLappedAndMissingTimes)
{
    EXPECT_EQ(ConvertReportTime("1:33.200", 0, 0), 93200u);
    EXPECT_EQ(ConvertReportTime("+12.345", 5'400'000, 0), 5'412'345u);
    EXPECT_EQ(ConvertReportTime("1:02:03.004", 0, 0), 3'723'004u);
    EXPECT_EQ(ConvertReportTime("DNF", 5'400'000, 58), 0u);
    EXPECT_EQ(ConvertReportTime("", 5'400'000, 58), 0u);
    EXPECT_EQ(ConvertReportTime("  1:33.200 s ", 0, 0), 93200u); // trailing non-digits go
    // Laps behind: the winner's time plus n average laps.
    int behind = 0;
    EXPECT_EQ(ConvertReportTime("-2 Laps", 5'800'000, 58, &behind), 5'800'000u + 2 * 100'000u);
    EXPECT_EQ(behind, 2);
    // The report does not say the race's laps: the import must not fail.
    EXPECT_EQ(ConvertReportTime("-1 Lap", 5'800'000, 0, &behind), 5'800'000u);
    EXPECT_EQ(behind, 1);
    // A broken number saturates instead of wrapping.
    EXPECT_EQ(ConvertReportTime("99999999999999999999:00.000", 0, 0), 0xFFFFFFFFu);
}

TEST(SeasonReport, ReadsTheGeneratedReport)
{
    test::TempDir dir;
    test::MakeDemo(dir.path(), 2, 1);
    std::string text = test::ReadText(ResolveGamePath(dir.path(), kSeasonReportGamePath));
    SeasonReportRead read = ParseSeasonReport(text);
    ASSERT_TRUE(read.found);
    EXPECT_EQ(read.raceNumber, 1);
    ASSERT_TRUE(read.result.valid);
    ASSERT_EQ(read.result.entries.size(), 22u);
    const auto& e = read.result.entries;
    EXPECT_GT(e[0].time, 3'600'000u);
    for (int p = 1; p < 12; ++p) {
        EXPECT_EQ(e[static_cast<std::size_t>(p)].timeText[0], '+');
        EXPECT_GT(e[static_cast<std::size_t>(p)].time, e[static_cast<std::size_t>(p) - 1].time) << p;
    }
    EXPECT_EQ(e[12].lapsBehind, 1);
    EXPECT_EQ(e[12].time, e[0].time);
    EXPECT_EQ(ShownReportTime(e[17], 0), ShownReportTime(e[0], 0) + " +2 laps");
    EXPECT_EQ(e[21].timeText, "DNF");
    EXPECT_EQ(ShownReportTime(e[21], 0), "DNF");
    for (const auto& entry : e) {
        EXPECT_FALSE(entry.driver.empty());
        EXPECT_FALSE(entry.team.empty());
        EXPECT_EQ(entry.driver.find("  "), std::string::npos);
    }
}

TEST(SeasonReport, ShortOrHeaderlessReportsKeepWhatTheyHave)
{
    const std::string report = "Season\n(7 of 16)\n\n 1. M. Driver  1:33.200\n   Team A\n\n 2. Second  +1.000\n"
                               "   Team B\n\n 3. Third  DNF\n   Team C\n";
    SeasonReportRead read = ParseSeasonReport(report);
    EXPECT_EQ(read.raceNumber, 7);
    EXPECT_TRUE(read.found);
    EXPECT_FALSE(read.result.valid);
    ASSERT_EQ(read.result.entries.size(), 3u);
    EXPECT_EQ(read.result.entries[0].driver, "M. Driver");
    EXPECT_EQ(read.result.entries[0].team, "Team A");
    EXPECT_EQ(read.result.entries[1].time, 94200u);
    EXPECT_EQ(ShownReportTime(read.result.entries[0], 0), "1.33.200");

    EXPECT_FALSE(ParseSeasonReport("no entries here\n(3)\n").found);
    EXPECT_FALSE(ParseSeasonReport("").found);

    std::string csv = ResultAsCsv(read.result);
    EXPECT_EQ(csv.substr(0, csv.find('\n') + 1), "Position,Driver,Team,Time,Milliseconds\r\n");
    EXPECT_NE(csv.find("2,Second,Team B,1.34.200,94200\r\n"), std::string::npos) << csv;
}
