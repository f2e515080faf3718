#include "TestSupport.h"

#include "app/IniFile.h"
#include "base/FileUtils.h"
#include "base/UITexts.h"
#include "teams/PerFile.h"
#include "teams/TeamDefaults.h"

#include "TeamsTestTables.h"

#include <gtest/gtest.h>

namespace pitwall {
namespace {

TeamTable DefaultTable() { return test::DefaultTeamTable(); }

// A table whose every value differs from every other, so a value read from
// the wrong key or section shows.
TeamTable DistinctTable()
{
    TeamTable table = DefaultTable();
    for (int d = 0; d < kDriverCount; ++d) {
        DriverRecord& driver = table.driver(d);
        driver.name = "Driver name number " + std::to_string(d);
        driver.carNumber = static_cast<std::uint8_t>(40 + d);
        driver.qp = static_cast<std::uint16_t>(15000 + d);
        driver.rp = static_cast<std::uint16_t>(16000 + d);
        driver.qa = static_cast<std::uint16_t>(200 + d);
        driver.ra = static_cast<std::uint16_t>(400 + d);
    }
    for (int t = 0; t < kTeamCount; ++t) {
        TeamRecord& team = table.teams[static_cast<std::size_t>(t)];
        team.name = "Team " + std::string(1, static_cast<char>('A' + t));
        team.engine = "Engine " + std::string(1, static_cast<char>('a' + t));
        team.failure = static_cast<std::uint16_t>(60000 + t);
        team.tqp = static_cast<std::uint16_t>(700 + t);
        team.trp = static_cast<std::uint16_t>(800 + t);
    }
    table.driver(0).name = "A driver name of 24 char";
    table.driver(1).name = " Blank edged ";
    table.driver(2).name = "\"Quoted\"";
    table.driver(3).name = "Key=Value; [x]";
    table.teams[0].name = "Thirteen char";
    table.driver(9).ra = 65535;
    return table;
}

TEST(TeamsPerFile, RoundTripGivesBackNamesAndValuesButNotTyresPitsOrMarks)
{
    test::TempDir dir;
    const TeamTable saved = DistinctTable();
    SavePerFile(saved, dir / "grid.PER");

    TeamTable loaded = DefaultTable();
    loaded.teams[2].tyreType = kTyreBridgestone;
    loaded.teams[2].pitPosition = 9;
    loaded.teams[9].pitPosition = 2;
    loaded.driver(5).selected = 1;
    ASSERT_TRUE(LoadPerFile(loaded, dir / "grid.PER"));

    TeamTable expected = saved;
    expected.teams[2].tyreType = kTyreBridgestone;
    expected.teams[2].pitPosition = 9;
    expected.teams[9].pitPosition = 2;
    expected.driver(5).selected = 1;
    EXPECT_EQ(loaded, expected);
    EXPECT_EQ(loaded.driver(9).ra, 65535);
    EXPECT_EQ(loaded.driver(1).name.text(), " Blank edged ");
    EXPECT_EQ(loaded.driver(2).name.text(), "\"Quoted\"");
    EXPECT_EQ(loaded.driver(3).name.text(), "Key=Value; [x]");
}

TEST(TeamsPerFile, SectionsAndKeysInTheWrittenOrder)
{
    test::TempDir dir;
    SavePerFile(DistinctTable(), dir / "grid.PER");
    IniFile ini;
    ASSERT_TRUE(ini.load(dir / "grid.PER"));
    EXPECT_EQ(ini.sectionNames(),
              (std::vector<std::string>{"NBR", "Name", "QP", "RP", "QA", "RA", "TNAME", "TENG", "TFAIL", "TQP", "TRP",
                                        "TNBR"}));
    std::vector<std::string> driverKeys, tnbrKeys;
    for (int d = 0; d < 22; ++d)
        driverKeys.push_back(std::to_string(d));
    for (int k = 22; k <= 33; ++k)
        tnbrKeys.push_back(std::to_string(k));
    EXPECT_EQ(ini.keyNames("RA"), driverKeys);
    EXPECT_EQ(ini.keyNames("TNBR"), tnbrKeys);
    EXPECT_EQ(ini.keyNames("TRP").size(), 11u);
    EXPECT_EQ(ini.readInteger("TNBR", "33", -1), 11);
    EXPECT_EQ(ini.readInteger("RA", "9", -1), 65535);
    EXPECT_EQ(ini.readInteger("TFAIL", "10", -1), 60010);

    std::string text = test::ReadText(dir / "grid.PER");
    EXPECT_EQ(text.substr(0, 13), "[NBR]\r\n0=40\r\n");
}

TEST(TeamsPerFile, ExistingFileIsUpdatedKeyByKey)
{
    test::TempDir dir;
    test::WriteText(dir / "grid.PER", "; my grid\r\n[QP]\r\n0=1\r\nnote=keep me\r\n");
    SavePerFile(DistinctTable(), dir / "grid.PER");
    IniFile ini;
    ini.load(dir / "grid.PER");
    EXPECT_EQ(ini.sectionNames().front(), "QP");
    EXPECT_EQ(ini.readString("QP", "note", ""), "keep me");
    EXPECT_EQ(ini.readInteger("QP", "0", -1), 15000);
    EXPECT_EQ(test::ReadText(dir / "grid.PER").substr(0, 11), "; my grid\r\n");
}

TEST(TeamsPerFile, MissingKeysReadAsZeroAndNumbersAreCutToTheirField)
{
    test::TempDir dir;
    test::WriteText(dir / "short.per",
                    "[nbr]\n0=356\n[name]\n0=A name much longer than twenty-four\n"
                    "[QP]\n0=70000\n1=-1\n2=junk\n[TNAME]\n0=Fourteen chars\n");
    TeamTable table = DefaultTable();
    ASSERT_TRUE(LoadPerFile(table, dir / "short.per"));
    EXPECT_EQ(table.driver(0).carNumber, 356 % 256);
    EXPECT_EQ(table.driver(0).name.text(), "A name much longer than ");
    EXPECT_EQ(table.driver(0).qp, 70000 % 65536);
    EXPECT_EQ(table.driver(1).qp, 65535);
    EXPECT_EQ(table.driver(2).qp, 0);
    EXPECT_EQ(table.driver(0).ra, 0);
    EXPECT_EQ(table.driver(1).name.text(), "");
    EXPECT_EQ(table.teams[0].name.text(), "Fourteen char");
    EXPECT_EQ(table.teams[0].engine.text(), "");
    EXPECT_EQ(table.teams[5].tqp, 0);
    EXPECT_EQ(table.teams[5].pitPosition, 5);
}

TEST(TeamsPerFile, AZeroByteEndsANameAndNothingAfterItIsKept)
{
    // Bytes after a zero in a name would be invisible in every editor yet be
    // written into the game's record; the name ends at the zero, so the
    // file saved again reads back to the same records.
    test::TempDir dir;
    test::WriteBytes(dir / "zero.PER",
                     {'[',  'N', 'a', 'm', 'e', ']', '\n', '3',  '=', 'M', 'i', 'n', 'a', 0,   'B', 'R',
                      '\n', '[', 'T', 'E', 'N', 'G', ']',  '\n', '1', '=', 0,   'V', '1', '0', '\n'});
    TeamTable table = DefaultTable();
    ASSERT_TRUE(LoadPerFile(table, dir / "zero.PER"));
    EXPECT_EQ(table.driver(3).name, DriverName("Mina"));
    EXPECT_EQ(table.teams[1].engine, TeamName(""));
    SavePerFile(table, dir / "again.PER");
    TeamTable again = DefaultTable();
    ASSERT_TRUE(LoadPerFile(again, dir / "again.PER"));
    EXPECT_EQ(again, table);
}

TEST(TeamsPerFile, MissingFileOrOneWithoutAnyFieldChangesNothing)
{
    test::TempDir dir;
    TeamTable table = DistinctTable();
    EXPECT_FALSE(LoadPerFile(table, dir / "none.PER"));
    EXPECT_EQ(table, DistinctTable());
    // Something of that name that cannot be read is no missing file: the
    // user is told why instead of nothing happening.
    ForceDirectories(dir / "folder.PER");
    try {
        LoadPerFile(table, dir / "folder.PER");
        ADD_FAILURE() << "a folder was taken as a missing .PER file";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("folder"), std::string::npos) << e.what();
    }
    EXPECT_EQ(table, DistinctTable());

    // Read as a .PER file, each would have blanked every name and value.
    test::WriteBytes(dir / "binary.PER", {0xFF, 0xFE, 0, 0, 'M', 'Z', 0x90, 0});
    test::WriteText(dir / "other.PER", "[General]\r\nGP3Path=C:\\GP3\\\r\n[TNBR]\r\n22=0\r\n");
    for (const char* name : {"binary.PER", "other.PER"}) {
        EXPECT_THROW(LoadPerFile(table, dir / name), std::runtime_error) << name;
        EXPECT_EQ(table, DistinctTable()) << name;
    }
    // One field is enough: the rest reads as 0 as before.
    test::WriteText(dir / "one.PER", "[tfail]\r\n0=4000\r\n");
    ASSERT_TRUE(LoadPerFile(table, dir / "one.PER"));
    EXPECT_EQ(table.teams[0].failure, 4000);
    EXPECT_EQ(table.driver(0).name.text(), "");
}

} // namespace
} // namespace pitwall
