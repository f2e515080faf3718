#include "base/UITexts.h"
#include "teams/PitLane.h"
#include "teams/QuickSettings.h"
#include "teams/RaceSimulation.h"
#include "teams/TeamDefaults.h"
#include "teams/TeamExchange.h"

#include "TeamsTestTables.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pitwall {
namespace {

TeamTable DefaultTable() { return test::DefaultTeamTable(); }

std::vector<int> TeamsInPitOrder(const TeamTable& table)
{
    PitOrder order = BuildPitOrder(table);
    return {order.begin(), order.end()};
}

// --- exchanging teams and drivers, pit lane -------------------------------

TEST(TeamsExchange, WholeRecordsMoveAndAnExchangeWithItselfChangesNothing)
{
    TeamTable table = DefaultTable();
    table.teams[2].tyreType = kTyreBridgestone;
    table.driver(3).selected = 1;
    const TeamTable before = table;
    SwapTeams(table, 2, 8);
    EXPECT_EQ(table.teams[8], before.teams[2]); // pit position and tyres included
    EXPECT_EQ(table.teams[2], before.teams[8]);
    const TeamTable swapped = table;
    SwapDrivers(table, 6, 6);
    SwapTeams(table, 4, 4);
    EXPECT_EQ(table, swapped);
    // Driver 16 is now driver 4 of old, who came along with team 2.
    SwapDrivers(table, 16, 3);
    EXPECT_EQ(table.driver(3), before.driver(4));
    EXPECT_EQ(table.driver(16), before.driver(3)); // car number and mark included
    EXPECT_EQ(table.teams[1].name.text(), "Team 1");
    EXPECT_THROW(SwapTeams(table, 0, 11), std::out_of_range);
    EXPECT_THROW(SwapDrivers(table, -1, 3), std::out_of_range);
}

TEST(TeamsPitLane, ReverseOnTheIdentityAndBack)
{
    TeamTable table = DefaultTable();
    ReversePitOrder(table);
    for (int t = 0; t < kTeamCount; ++t)
        EXPECT_EQ(table.teams[static_cast<std::size_t>(t)].pitPosition, 10 - t);
    EXPECT_EQ(TeamsInPitOrder(table), (std::vector<int>{10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    ReversePitOrder(table);
    EXPECT_EQ(table, DefaultTable());
}

TEST(TeamsPitLane, SwapExchangesTheTeamsAtTwoPositions)
{
    TeamTable table = DefaultTable();
    SwapTeams(table, 0, 6); // team record of slot 6 now at position 0
    ASSERT_TRUE(SwapPitPositions(table, 0, 10));
    EXPECT_EQ(TeamsInPitOrder(table), (std::vector<int>{10, 1, 2, 3, 4, 5, 0, 7, 8, 9, 6}));
    const TeamTable before = table;
    EXPECT_FALSE(SwapPitPositions(table, 10, 11));
    EXPECT_FALSE(SwapPitPositions(table, -1, 0));
    EXPECT_EQ(table, before);
}

TEST(TeamsPitLane, BrokenPositionsStillGiveAPermutation)
{
    TeamTable table = DefaultTable();
    table.teams[0].pitPosition = 4; // clashes with team 4
    table.teams[7].pitPosition = 200;
    // Slot 0 wins position 4; slots 4 and 7 fill the free positions 0 and 7.
    EXPECT_EQ(TeamsInPitOrder(table), (std::vector<int>{4, 1, 2, 3, 0, 5, 6, 7, 8, 9, 10}));
    RepairPitPositions(table);
    EXPECT_EQ(table.teams[0].pitPosition, 4);
    EXPECT_EQ(table.teams[4].pitPosition, 0);
    EXPECT_EQ(table.teams[7].pitPosition, 7);
}

// --- simulation -----------------------------------------------------------

TEST(TeamsSimulation, DefaultGridScoresEqualAndShowsOneLapTime)
{
    TeamTable table = DefaultTable();
    SimulationResult result = SimulateQualifying(table, false, {});
    for (std::size_t i = 0; i < result.size(); ++i) {
        EXPECT_EQ(result[i].score, 93200);
        EXPECT_EQ(result[i].driverIndex, static_cast<int>(i));
    }
    auto absolute = FormatSimulationResult(result, table, false, true);
    ASSERT_EQ(absolute.size(), 22u);
    EXPECT_EQ(absolute[0], "Driver 0=93200");
    EXPECT_EQ(absolute[21], "Driver 21=93200");
    auto relative = FormatSimulationResult(result, table, true, true);
    EXPECT_EQ(relative[0], "Driver 0=93200");
    for (std::size_t i = 1; i < relative.size(); ++i) {
        EXPECT_EQ(SplitSimulationLine(relative[i]).second, 0);
        EXPECT_EQ(relative[i].substr(relative[i].size() - 3), "=+0");
    }
    EXPECT_EQ(FormatLapTime(93200), "1.33.200");
    EXPECT_EQ(FormatLapTime(0), "0.00.000");
    EXPECT_EQ(FormatLapTime(61005), "1.01.005");
}

TEST(TeamsSimulation, StrongerDriverLeadsAndEqualScoresKeepTheExchangeSortOrder)
{
    TeamTable table = DefaultTable();
    table.driver(2).qp = 17000;
    SimulationResult quali = SimulateQualifying(table, false, {});
    EXPECT_EQ(quali[0].score, 91200);
    // The exchange that brings driver 2 to the top sends driver 0 behind
    // driver 1; a stable sort would give 2, 0, 1.
    std::vector<int> order;
    for (const auto& e : quali)
        order.push_back(e.driverIndex);
    std::vector<int> expected = {2, 1, 0};
    for (int d = 3; d < 22; ++d)
        expected.push_back(d);
    EXPECT_EQ(order, expected);
    // The race uses its own values: RP, RA and TRP (770 by default).
    SimulationResult race = SimulateRace(table, false, {});
    EXPECT_EQ(race[0].driverIndex, 0);
    EXPECT_EQ(race[0].score, 93700);

    auto teams = FormatSimulationResult(quali, table, false, false);
    EXPECT_EQ(teams[0], "Team 1[0]=91200");
    EXPECT_EQ(teams[1], "Team 0[1]=93200");
    auto gaps = FormatSimulationResult(quali, table, true, false);
    EXPECT_EQ(gaps[0], "Team 1=91200");
    EXPECT_EQ(gaps[1], "Team 0[1]=+2000");
}

TEST(TeamsSimulation, RandomShareComesFromTheConsistency)
{
    TeamTable table = DefaultTable();
    table.driver(5).qa = 0;
    std::vector<int> bounds;
    RandomBelow largest = [&](int bound) {
        bounds.push_back(bound);
        return bound - 1;
    };
    SimulationResult result = SimulateQualifying(table, true, largest);
    EXPECT_EQ(bounds.size(), 21u); // not asked for the driver without inconsistency
    EXPECT_TRUE(std::all_of(bounds.begin(), bounds.end(), [](int b) { return b == 600; }));
    // Driver 5: 90000 - 2 x (16000 - 0 - 1000 - 16300) = 92600, no random share.
    EXPECT_EQ(result[0].driverIndex, 5);
    EXPECT_EQ(result[0].score, 92600);
    EXPECT_EQ(result[1].score, 93200 + 599);

    auto a = SimulateRace(table, true, MakeRandomBelow(42));
    auto b = SimulateRace(table, true, MakeRandomBelow(42));
    EXPECT_EQ(a, b);
    for (const auto& e : a) {
        EXPECT_GE(e.score, 93700);
        EXPECT_LT(e.score, 93700 + 600);
    }
}

TEST(TeamsSimulation, LineSplitsAtTheLastEqualsSign)
{
    EXPECT_EQ(SplitSimulationLine("A=B=+2000"), (std::pair<std::string, std::int32_t>{"A=B", 2000}));
    EXPECT_EQ(SplitSimulationLine("Name=93200"), (std::pair<std::string, std::int32_t>{"Name", 93200}));
    EXPECT_EQ(SplitSimulationLine("Name=x"), (std::pair<std::string, std::int32_t>{"Name", 0}));
}

// --- quick settings -------------------------------------------------------

void SetTeamPerformances(TeamTable& table, std::vector<std::uint16_t> firstValues, std::uint16_t rest)
{
    for (std::size_t t = 0; t < table.teams.size(); ++t)
        table.teams[t].tqp = t < firstValues.size() ? firstValues[t] : rest;
}

TEST(TeamsQuickSettings, StretchTopAndBottom)
{
    TeamTable table = DefaultTable();
    SetTeamPerformances(table, {700, 750}, 800);
    ApplyQuickSetting(table, TeamValue::QualifyingPerformance, QuickSetting::StretchTop, 10);
    EXPECT_EQ(table.teams[0].tqp, 700);
    EXPECT_EQ(table.teams[1].tqp, 755);
    EXPECT_EQ(table.teams[2].tqp, 810);
    EXPECT_EQ(table.teams[2].trp, 770); // other fields untouched

    SetTeamPerformances(table, {700, 750}, 800);
    ApplyQuickSetting(table, TeamValue::QualifyingPerformance, QuickSetting::StretchBottom, 10);
    EXPECT_EQ(table.teams[0].tqp, 710);
    EXPECT_EQ(table.teams[1].tqp, 755);
    EXPECT_EQ(table.teams[2].tqp, 800);

    SetTeamPerformances(table, {700, 750}, 800);
    ApplyQuickSetting(table, TeamValue::QualifyingPerformance, QuickSetting::StretchTop, -10);
    EXPECT_EQ(table.teams[1].tqp, 745);
    EXPECT_EQ(table.teams[2].tqp, 790);
}

TEST(TeamsQuickSettings, ShiftStopsAtTheLimits)
{
    TeamTable table = DefaultTable();
    table.teams[0].failure = 31950;
    table.teams[1].failure = 50;
    ApplyQuickSetting(table, TeamValue::Failure, QuickSetting::Shift, 100);
    EXPECT_EQ(table.teams[0].failure, 32000);
    EXPECT_EQ(table.teams[2].failure, 5100);
    ApplyQuickSetting(table, TeamValue::Failure, QuickSetting::Shift, -100);
    ApplyQuickSetting(table, TeamValue::Failure, QuickSetting::Shift, -100);
    EXPECT_EQ(table.teams[1].failure, 0);

    table.teams[3].tqp = 31950;
    ApplyQuickSetting(table, TeamValue::QualifyingPerformance, QuickSetting::Shift, 100);
    EXPECT_EQ(table.teams[3].tqp, 32000);
    EXPECT_EQ(table.teams[4].tqp, 880);

    // A rise never lowers a value that already lies above the limit.
    table.driver(4).qp = 40000;
    ApplyQuickSetting(table, DriverValue::QualifyingStrength, QuickSetting::Shift, 10);
    EXPECT_EQ(table.driver(4).qp, 40000);
    EXPECT_EQ(table.driver(5).qp, 16010);
    ApplyQuickSetting(table, DriverValue::QualifyingStrength, QuickSetting::Shift, -10);
    EXPECT_EQ(table.driver(4).qp, 39990);
}

TEST(TeamsQuickSettings, StretchWithoutSpreadChangesNothing)
{
    TeamTable table = DefaultTable();
    for (QuickSetting s : {QuickSetting::StretchTop, QuickSetting::StretchBottom}) {
        ApplyQuickSetting(table, DriverValue::RaceConsistency, s, 10);
        ApplyQuickSetting(table, TeamValue::RacePerformance, s, -10);
    }
    EXPECT_EQ(table, DefaultTable());
}

TEST(TeamsQuickSettings, DriverSpreadCoversAllTwentyTwoDriversWithoutOverflow)
{
    TeamTable table = DefaultTable();
    table.driver(21).rp = 26000; // the strongest is the last driver
    table.driver(0).rp = 6000;
    ApplyQuickSetting(table, DriverValue::RaceStrength, QuickSetting::StretchTop, 100);
    EXPECT_EQ(table.driver(21).rp, 26100);
    EXPECT_EQ(table.driver(0).rp, 6000);
    EXPECT_EQ(table.driver(10).rp, 16050);

    table.driver(0).qa = 0;
    table.driver(1).qa = 65535;
    ApplyQuickSetting(table, DriverValue::QualifyingConsistency, QuickSetting::StretchBottom, 30000);
    EXPECT_EQ(table.driver(0).qa, 30000);
    EXPECT_EQ(table.driver(1).qa, 65535);
}

} // namespace
} // namespace pitwall
