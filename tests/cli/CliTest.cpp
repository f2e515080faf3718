#include "CliRunner.h"
#include "TestSupport.h"

#include "RunCli.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/GameInstallation.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace pitwall;

TEST(Cli, UsageHelpAndVersion)
{
    EXPECT_EQ(test::RunCommand({"--help"}).code, 0);
    auto v = test::RunCommand({"--version"});
    EXPECT_EQ(v.code, 0);
    EXPECT_NE(v.out.find("pitwall-cli"), std::string::npos);
    EXPECT_EQ(test::RunCommand({}).code, 2);
    EXPECT_EQ(test::RunCommand({"no-such-command"}).code, 2);
    EXPECT_EQ(test::RunCommand({"info"}).code, 2); // --game missing
    EXPECT_EQ(test::RunCommand({"make-demo", "x", "--game-version", "v2.0"}).code, 2);
    // The hidden older spellings of -o and --language leave no trace in the usage line.
    for (const auto& [command, usage] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"text", "import"}, "Usage: pitwall-cli text import [OPTIONS] [IN]\n"},
             {{"art", "info"}, "Usage: pitwall-cli art info [OPTIONS]\n"},
             {{"jam", "to-bmp"}, "Usage: pitwall-cli jam to-bmp [OPTIONS] FILE\n"}}) {
        auto args = command;
        args.push_back("--help");
        auto help = test::RunCommand(args);
        EXPECT_EQ(help.code, 0);
        EXPECT_NE(help.out.find(usage), std::string::npos) << help.out;
    }
}

TEST(Cli, MakeDemoThenInfo)
{
    // The tests run with the stand-in palette beside the program.
    const std::string standIn = "palette: the stand-in shipped with Pitwall, not the game's colours; 8-bit pictures "
                                "get wrong colours (name yours with --palette FILE or PITWALL_PALETTE)\n";
    test::TempDir dir;
    ASSERT_EQ(test::RunCommand({"make-demo", dir / "a", "--quiet"}).code, 0);
    // Never over an installation, whatever the letter case of its files.
    std::filesystem::rename(NativePath(dir / "a/GP3.EXE"), NativePath(dir / "a/gp3.exe"));
    test::WriteText(dir / "a/F1GSTATE.SAV", "the player's season");
    auto again = test::RunCommand({"make-demo", dir / "a", "--seed", "5"});
    EXPECT_EQ(again.code, 1);
    EXPECT_NE(again.err.find("already holds a Grand Prix 3 installation"), std::string::npos) << again.err;
    EXPECT_EQ(test::ReadText(dir / "a/F1GSTATE.SAV"), "the player's season");
    std::filesystem::remove(NativePath(dir / "a/gp3.exe"));
    ASSERT_EQ(test::RunCommand({"make-demo", dir / "a", "--quiet"}).code, 0);
    auto info = test::RunCommand({"info", "--game", dir / "a"});
    EXPECT_EQ(info.code, 0);
    EXPECT_EQ(info.out, "game version: v1.13\nsavegame format: 2\n" + standIn);

    ASSERT_EQ(test::RunCommand({"make-demo", dir / "b", "--game-version", "v1.00", "--seed", "9"}).code, 0);
    EXPECT_EQ(test::RunCommand({"info", "--game", dir / "b"}).out, "game version: v1.00\nsavegame format: 1\n" + standIn);

    ASSERT_EQ(test::RunCommand({"make-demo", dir / "c", "--game-version", "v1.13-video"}).code, 0);
    EXPECT_EQ(test::RunCommand({"info", "--game", dir / "c"}).out,
              "game version: v1.13 (Gp3Video)\nsavegame format: 2\n" + standIn);

    // One byte more and the version is unknown.
    std::filesystem::resize_file(NativePath(dir / "a/GP3.EXE"), kGameExeSizes[2] + 1);
    auto bad = test::RunCommand({"info", "--game", dir / "a"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("Unknown version"), std::string::npos) << bad.err;
    EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1);

    EXPECT_EQ(test::RunCommand({"info", "--game", dir / "nowhere"}).code, 1);
}

TEST(Cli, ChecksumShowsAndFixes)
{
    test::TempDir dir;
    ASSERT_EQ(test::RunCommand({"make-demo", dir / "g", "--quiet"}).code, 0);
    auto same = test::RunCommand({"checksum", "--game", dir / "g"});
    ASSERT_EQ(same.code, 0);
    auto lines = same.out;
    auto stored = lines.substr(lines.find("stored:") + 10, 8);
    auto computed = lines.substr(lines.find("computed:") + 10, 8);
    EXPECT_EQ(stored, computed);

    std::string save = dir / "g/F1GSTATE.SAV";
    auto bytes = test::ReadBytes(save);
    bytes[bytes.size() / 2] ^= 0x5A;
    test::WriteBytes(save, bytes);
    auto differ = test::RunCommand({"checksum", "--game", dir / "g"});
    EXPECT_NE(differ.out.substr(differ.out.find("stored:") + 10, 8),
              differ.out.substr(differ.out.find("computed:") + 10, 8));

    EXPECT_EQ(test::RunCommand({"checksum", "--game", dir / "g", "--fix"}).code, 0);
    auto fixed = test::RunCommand({"checksum", "--game", dir / "g"});
    EXPECT_EQ(fixed.out.substr(fixed.out.find("stored:") + 10, 8),
              fixed.out.substr(fixed.out.find("computed:") + 10, 8));
    auto after = test::ReadBytes(save);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end() - 4, after.begin()));

    auto missing = test::RunCommand({"checksum", "--game", dir.path()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("F1GSTATE.SAV"), std::string::npos);
}

TEST(Cli, PathsInMessagesAreShownOnceEncoded)
{
    test::TempDir dir;
    std::string missing = dir / "J\xC3\xBCrgen/ESPA\xC3\x91OL.GMS"; // UTF-8, as file systems name it
    auto run = test::RunCommand({"carset", "info", missing});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find(std::string("J\xC3\xBCrgen") + kPathSeparator + "ESPA\xC3\x91OL.GMS"), std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("\xC3\x83"), std::string::npos) << run.err; // no "Ã" of a second encoding
}
