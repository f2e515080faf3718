#include "TestSupport.h"

#include "DemoInstallation.h"
#include "base/GamePath.h"
#include "base/UITexts.h"
#include "teams/PitLane.h"
#include "teams/TeamDefaults.h"
#include "teams/TeamsGameFiles.h"
#include "transfer/GameFile.h"

#include "TeamsTestTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace pitwall {
namespace {

// Where the v1.13 executable and the format-2 savegame keep the blocks.
constexpr std::uint32_t kPerformance113 = 0x144D40;
constexpr std::uint32_t kTyreWords113 = 0x73B858;
constexpr std::uint32_t kPitOrder113 = 0x73CA04;
constexpr std::uint32_t kSelection2 = 0x15500;

struct Game {
    explicit Game(int version) : version(version)
    {
        test::MakeDemo(dir.path(), version, 1);
        exePath = ResolveGamePath(dir.path(), "GP3.EXE");
        savePath = ResolveGamePath(dir.path(), "F1GSTATE.SAV");
    }
    int format() const { return demo::SavegameFormatOfVersion(version); }

    TeamTable import()
    {
        TeamTable table;
        GameFile exe(exePath), save(savePath);
        ReadTeamsFromGame(table, exe, save, version, format());
        return table;
    }
    void exportTable(const TeamTable& table)
    {
        GameFile exe(exePath), save(savePath);
        WriteTeamsToGame(table, exe, save, version, format());
        exe.close();
        save.close();
    }
    void poke(const std::string& path, std::uint32_t at, std::vector<std::uint8_t> bytes)
    {
        auto all = test::ReadBytes(path);
        std::copy(bytes.begin(), bytes.end(), all.begin() + at);
        test::WriteBytes(path, all);
    }

    int version;
    test::TempDir dir;
    std::string exePath, savePath;
};

std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

UITexts DefaultTexts() { return test::DefaultTeamTexts(); }

class TeamsGameFiles : public ::testing::TestWithParam<int> {};

TEST_P(TeamsGameFiles, ImportReadsTheGeneratedGrid)
{
    Game game(GetParam());
    TeamTable table = game.import();

    const std::set<std::string> demoTeams = {"Wilmore", "Ferrano",  "Benedetti",  "McAllen", "Jardine", "Provost",
                                             "Saubert", "Arrowood", "Stewardson", "Tyrwell", "Minotti"};
    std::set<std::string> teamsSeen, enginesSeen;
    std::set<int> carNumbers, pitPositions;
    for (const TeamRecord& team : table.teams) {
        teamsSeen.insert(team.name.text());
        enginesSeen.insert(team.engine.text());
        EXPECT_GE(team.tqp, 690);
        EXPECT_LE(team.tqp, 850);
        EXPECT_LE(team.trp, team.tqp);
        EXPECT_GE(team.failure, 3000);
        EXPECT_LE(team.failure, 9000);
        EXPECT_LE(team.tyreType, 1);
        pitPositions.insert(team.pitPosition);
        for (const DriverRecord& d : team.drivers) {
            EXPECT_NE(d.name.text().find(' '), std::string::npos) << d.name.text();
            EXPECT_GE(d.qp, 14900);
            EXPECT_LE(d.qp, 16800);
            EXPECT_GE(d.qa, 150);
            EXPECT_LE(d.ra, 600);
            carNumbers.insert(d.carNumber);
            EXPECT_LE(d.selected, 1);
        }
    }
    EXPECT_EQ(teamsSeen, demoTeams);
    EXPECT_TRUE(enginesSeen.count("Fordham"));
    EXPECT_EQ(pitPositions.size(), 11u);
    EXPECT_EQ(*pitPositions.rbegin(), 10);
    EXPECT_EQ(carNumbers.size(), 22u);
    EXPECT_FALSE(carNumbers.count(13));
    EXPECT_EQ(*carNumbers.rbegin(), 23);
}

TEST_P(TeamsGameFiles, ExportStraightAfterImportLeavesBothFilesByteIdentical)
{
    Game game(GetParam());
    auto exeBefore = test::ReadBytes(game.exePath);
    auto saveBefore = test::ReadBytes(game.savePath);
    game.exportTable(game.import());
    EXPECT_TRUE(test::ReadBytes(game.exePath) == exeBefore);
    EXPECT_TRUE(test::ReadBytes(game.savePath) == saveBefore);
}

TEST_P(TeamsGameFiles, EditedTableComesBackFromTheGame)
{
    Game game(GetParam());
    TeamTable table;
    ResetTeamsDrivers(table, DefaultTexts());
    table.teams[0].name = "Thirteen char";
    table.teams[10].engine = "Fourteen chars";
    table.driver(21).name = "A driver name of 24 char";
    table.driver(5).carNumber = 99;
    table.driver(5).selected = 1;
    table.driver(7).ra = 65535;
    table.teams[4].tqp = 0;
    table.teams[4].trp = 32700;
    table.teams[6].failure = 65535;
    table.teams[9].tyreType = kTyreBridgestone;
    ReversePitOrder(table);

    game.exportTable(table);
    TeamTable back = game.import();
    EXPECT_EQ(back, table);
    EXPECT_EQ(back.teams[10].engine.text(), "Fourteen char");
}

INSTANTIATE_TEST_SUITE_P(Teams, TeamsGameFiles, ::testing::Values(1, 2, 3),
                         [](const auto& info) { return "version" + std::to_string(info.param); });

TEST(TeamsGameEncoding, PerformanceIsStoredWithItsBias)
{
    Game game(2);
    game.poke(game.exePath, kPerformance113, {0x31, 0x80, 0xED, 0xFF});
    TeamTable table = game.import();
    EXPECT_EQ(table.teams[0].tqp, 0);
    EXPECT_EQ(table.teams[1].tqp, 32700);
    table.teams[2].trp = 32719;
    game.exportTable(table);
    auto exe = test::ReadBytes(game.exePath);
    EXPECT_EQ(exe[kPerformance113 + 22 + 4], 0);
    EXPECT_EQ(exe[kPerformance113 + 22 + 5], 0);
}

TEST(TeamsGameEncoding, UnknownTyreWordIsGoodyearAndRewritten)
{
    Game game(2);
    game.poke(game.exePath, kTyreWords113 + 4 * 3, {0x36, 0x03, 0x37, 0x04}); // near Bridgestone's, not it
    game.poke(game.exePath, kTyreWords113 + 4 * 4, {0x36, 0x03, 0x37, 0x03}); // Bridgestone
    TeamTable table = game.import();
    EXPECT_EQ(table.teams[3].tyreType, kTyreGoodyear);
    EXPECT_EQ(table.teams[4].tyreType, kTyreBridgestone);
    game.exportTable(table);
    auto exe = test::ReadBytes(game.exePath);
    EXPECT_EQ(U32At(exe, kTyreWords113 + 4 * 3), 0x03350334u);
    EXPECT_EQ(U32At(exe, kTyreWords113 + 4 * 4), 0x03370336u);
}

TEST(TeamsGameEncoding, SelectionByteKeepsOnlyBitSevenAndGetsTheDriverIndex)
{
    Game game(2);
    // Driver 4 marked with junk in the low bits, driver 5 unmarked with junk.
    game.poke(game.savePath, kSelection2 + 4, {0x93, 0x13});
    TeamTable table = game.import();
    EXPECT_EQ(table.driver(4).selected, 1);
    EXPECT_EQ(table.driver(5).selected, 0);
    game.exportTable(table);
    auto save = test::ReadBytes(game.savePath);
    EXPECT_EQ(save[kSelection2 + 4], 0x80 + 5);
    EXPECT_EQ(save[kSelection2 + 5], 6);
}

TEST(TeamsGameEncoding, PitOrderByteOutsideTheTeamsIsIgnored)
{
    Game game(2);
    // Identity order with position 3 damaged and position 7 naming team 1 twice.
    std::vector<std::uint8_t> order = {1, 2, 3, 0xC8, 5, 6, 7, 1, 9, 10, 11};
    game.poke(game.exePath, kPitOrder113, order);
    auto exeBefore = test::ReadBytes(game.exePath);
    TeamTable table = game.import();

    // Team slot 0 ends at the later position it was named for; the teams no
    // byte placed (slots 3 and 7) fill the free positions 0 and 3.
    EXPECT_EQ(table.teams[0].pitPosition, 7);
    EXPECT_EQ(table.teams[3].pitPosition, 0);
    EXPECT_EQ(table.teams[7].pitPosition, 3);
    EXPECT_EQ(table.teams[1].pitPosition, 1);

    game.exportTable(table);
    auto exe = test::ReadBytes(game.exePath);
    std::vector<std::uint8_t> written(exe.begin() + kPitOrder113, exe.begin() + kPitOrder113 + 11);
    EXPECT_EQ(written, (std::vector<std::uint8_t>{4, 2, 3, 8, 5, 6, 7, 1, 9, 10, 11}));
    // Apart from the pit order the executable is untouched.
    std::copy(exeBefore.begin() + kPitOrder113, exeBefore.begin() + kPitOrder113 + 11, exe.begin() + kPitOrder113);
    EXPECT_TRUE(exe == exeBefore);
}

TEST(TeamsGameEncoding, ShortFileLeavesTableAndFilesAlone)
{
    Game game(2);
    auto save = test::ReadBytes(game.savePath);
    save.resize(kSelection2 + 30); // selection bytes fit, names do not
    test::WriteBytes(game.savePath, save);
    auto exeBefore = test::ReadBytes(game.exePath);

    TeamTable table;
    ResetTeamsDrivers(table, DefaultTexts());
    const TeamTable before = table;
    {
        GameFile exe(game.exePath), sav(game.savePath);
        EXPECT_THROW(ReadTeamsFromGame(table, exe, sav, 2, 2), GameFileError);
        EXPECT_EQ(table, before);
        EXPECT_THROW(WriteTeamsToGame(table, exe, sav, 2, 2), GameFileError);
        EXPECT_THROW(ReadTeamsFromGame(table, exe, sav, 0, 2), std::invalid_argument);
        EXPECT_THROW(WriteTeamsToGame(table, exe, sav, 2, 3), std::invalid_argument);
        exe.close();
        sav.close();
    }
    EXPECT_TRUE(test::ReadBytes(game.exePath) == exeBefore);
    EXPECT_TRUE(test::ReadBytes(game.savePath) == save);
}

} // namespace
} // namespace pitwall
