#include "base/ByteReader.h"
#include "base/UITexts.h"
#include "teams/TeamDefaults.h"
#include "teams/TeamTableImage.h"

#include <gtest/gtest.h>

namespace pitwall {
namespace {

UITexts EnglishDefaults()
{
    std::vector<std::string> texts(1134, "");
    texts[2] = "Team %d";
    texts[127] = "Driver %d";
    texts[740] = "Engine %d";
    UITexts ui;
    ui.assign(std::move(texts), "");
    return ui;
}

TEST(TeamsTable, ResetGivesTheNeutralGrid)
{
    TeamTable table;
    table.teams[4].drivers[1].selected = 1;
    ResetTeamsDrivers(table, EnglishDefaults());

    const TeamRecord& team = table.teams[3];
    EXPECT_EQ(team.name.text(), "Team 3");
    EXPECT_EQ(team.engine.text(), "Engine 3");
    EXPECT_EQ(team.drivers[0].name.text(), "Driver 6");
    EXPECT_EQ(team.drivers[1].name.text(), "Driver 7");
    EXPECT_EQ(team.drivers[0].carNumber, 7);
    EXPECT_EQ(team.drivers[1].carNumber, 8);
    EXPECT_EQ(team.failure, 5000);
    EXPECT_EQ(team.tqp, 780);
    EXPECT_EQ(team.trp, 770);
    EXPECT_EQ(team.pitPosition, 3);
    EXPECT_EQ(table.teams[4].drivers[1].selected, 0);
    for (int d = 0; d < kDriverCount; ++d) {
        EXPECT_EQ(table.driver(d).qp, 16000);
        EXPECT_EQ(table.driver(d).ra, 300);
    }
}

TEST(TeamsTable, ResetCutsLongTextsAndAcceptsTextsWithoutPlaceholder)
{
    std::vector<std::string> texts(1134, "");
    texts[2] = "A team name far too long %d";
    texts[740] = "V10";
    UITexts ui;
    ui.assign(std::move(texts), "");
    TeamTable table;
    ResetTeamsDrivers(table, ui);
    EXPECT_EQ(table.teams[10].name.text(), "A team name f");
    EXPECT_EQ(table.teams[10].engine.text(), "V10");
}

TEST(TeamsTable, ImageHasTheRecordLayout)
{
    TeamTable table;
    ResetTeamsDrivers(table, EnglishDefaults());
    TeamRecord& team = table.teams[1];
    team.name = "Thirteen char";    // exactly 13: no terminator
    team.engine = "Fourteen chars"; // cut to 13
    team.failure = 0x1234;
    team.tqp = 32700;
    team.trp = 1;
    team.drivers[1].name = "A driver name of 24 char";
    team.drivers[1].qp = 0xA1A2;
    team.drivers[1].rp = 0xB1B2;
    team.drivers[1].qa = 0xC1C2;
    team.drivers[1].ra = 0xD1D2;
    team.drivers[1].carNumber = 99;
    team.drivers[1].selected = 1;
    team.tyreType = kTyreBridgestone;
    team.pitPosition = 7;

    auto image = TeamTableImage(table);
    ASSERT_EQ(image.size(), 1122u);
    const std::uint8_t* r = image.data() + 102;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r), 13), "Thirteen char");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r + 13), 13), "Fourteen char");
    EXPECT_EQ(r[26], 0x34);
    EXPECT_EQ(r[27], 0x12);
    EXPECT_EQ(r[28] | r[29] << 8, 32700);
    EXPECT_EQ(r[30] | r[31] << 8, 1);
    const std::uint8_t* d = r + 66;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(d), 24), "A driver name of 24 char");
    EXPECT_EQ(d[24], 0xA2);
    EXPECT_EQ(d[25], 0xA1);
    EXPECT_EQ(d[27], 0xB1);
    EXPECT_EQ(d[29], 0xC1);
    EXPECT_EQ(d[31], 0xD1);
    EXPECT_EQ(d[32], 99);
    EXPECT_EQ(d[33], 1);
    EXPECT_EQ(r[100], 1);
    EXPECT_EQ(r[101], 7);

    TeamTable back = TeamTableFromImage(image);
    EXPECT_EQ(back, table);
    EXPECT_EQ(back.teams[1].name.text(), "Thirteen char");
    EXPECT_EQ(back.teams[1].drivers[1].name.text(), "A driver name of 24 char");
}

TEST(TeamsTable, ImageKeepsBytesAfterTheTerminator)
{
    std::vector<std::uint8_t> image(1122, 0);
    const char field[13] = {'A', 'B', 0, 'x', 'y', 'z', 1, 2, 3, 4, 5, 6, 7};
    std::copy(field, field + 13, image.begin() + 13);
    TeamTable table = TeamTableFromImage(image);
    EXPECT_EQ(table.teams[0].engine.text(), "AB");
    EXPECT_EQ(TeamTableImage(table), image);

    table.teams[0].engine = "AB"; // the text it shows: bytes stay
    EXPECT_EQ(TeamTableImage(table), image);
    table.teams[0].engine = "ABC";
    EXPECT_EQ(TeamTableImage(table)[13 + 3], 0);
    EXPECT_EQ(TeamTableImage(table)[13 + 12], 0);
}

TEST(TeamsTable, ImageOfTheWrongSizeIsRefused)
{
    EXPECT_THROW(TeamTableFromImage(std::vector<std::uint8_t>(1121)), FormatError);
    EXPECT_THROW(TeamTableFromImage(std::vector<std::uint8_t>(1123)), FormatError);
    EXPECT_THROW(TeamTableFromImage({}), FormatError);
}

} // namespace
} // namespace pitwall
