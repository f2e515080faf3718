#include "CliRunner.h"
#include "TestSupport.h"

#include "base/GamePath.h"
#include "formats/StringFile.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace pitwall;

TEST(TextsCli, ImportAndExportGoThroughTheLanguageAreas)
{
    test::TempDir dir;
    test::MakeDemo(dir / "game", 1, 4); // v1.00: five languages
    const std::string game = dir / "game";
    const std::string german = ResolveGamePath(game + "/", "LDATA\\DEUTSCH.str");
    const auto original = test::ReadBytes(german);

    ASSERT_EQ(test::RunCommand({"text", "export", "DEUTSCH", dir / "de.txt", "--game", game, "--quiet"}).code, 0);
    auto texts = ReadTextFile(dir / "de.txt");
    ASSERT_EQ(texts.size(), 2702u);
    // POLSKI is not a language of v1.00.
    auto polish = test::RunCommand({"text", "export", "POLSKI", dir / "pl.txt", "--game", game});
    EXPECT_EQ(polish.code, 1);
    EXPECT_NE(polish.err.find("POLSKI is not a language of v1.00"), std::string::npos) << polish.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "pl.txt"));

    // A count of v1.13 on v1.00: refused naming both versions, nothing written.
    texts.resize(2843, "added");
    WriteTextFile(dir / "long.txt", texts);
    auto refused = test::RunCommand({"text", "import", "DEUTSCH", dir / "long.txt", "--game", game});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("v1.13"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
    EXPECT_TRUE(test::ReadBytes(german) == original);

    ASSERT_EQ(
        test::RunCommand({"text", "import", "DEUTSCH", dir / "long.txt", "--game", game, "--force", "--quiet"}).code,
        0);
    EXPECT_EQ(ParseStringFile(test::ReadBytes(german)), texts);

    // A text the game could not read is named, and nothing is written.
    const auto forced = test::ReadBytes(german);
    texts[17] = std::string(3000, 'x');
    WriteTextFile(dir / "overlong.txt", texts);
    auto overlong = test::RunCommand({"text", "import", "DEUTSCH", dir / "overlong.txt", "--game", game, "--force"});
    EXPECT_EQ(overlong.code, 1);
    EXPECT_NE(overlong.err.find("Text number 17 "), std::string::npos) << overlong.err;
    EXPECT_TRUE(test::ReadBytes(german) == forced);

    // A damaged language file in the game stops the export with its message.
    test::WriteBytes(german, {0x75, 0x0A, 0, 0, 'A', 0});
    auto damaged = test::RunCommand({"text", "export", "DEUTSCH", dir / "x.str", "--game", game});
    EXPECT_EQ(damaged.code, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.str"));
}

TEST(CareerCli, ShowsTheSeasonReportAndRefusesMissingOrShortOnes)
{
    test::TempDir dir;
    test::MakeDemo(dir / "game", 2, 1);
    const std::string game = dir / "game";
    auto shown = test::RunCommand({"career", "show", "--game", game});
    ASSERT_EQ(shown.code, 0) << shown.err;
    EXPECT_NE(shown.out.find("race 1\n"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("\n22   "), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("DNF"), std::string::npos);
    EXPECT_NE(shown.out.find(" +2 laps"), std::string::npos);

    const std::string report = ResolveGamePath(game + "/", "gpsaves\\seasona1.txt");
    test::WriteText(report, "(4 of 16)\r\n 1. Only One  1:33.200\r\n    Team\r\n\r\n");
    auto shortReport = test::RunCommand({"career", "show", "--game", game});
    EXPECT_EQ(shortReport.code, 1);
    EXPECT_NE(shortReport.out.find("Only One"), std::string::npos);
    EXPECT_NE(shortReport.err.find("after 1 of 22 entries"), std::string::npos) << shortReport.err;

    std::filesystem::remove(report);
    auto missing = test::RunCommand({"career", "show", "--game", game});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("seasona1.txt"), std::string::npos) << missing.err;
}
