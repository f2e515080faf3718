// Restore points that say what made them, made only by runs that write, and
// a restore that names the later changes it undoes and can itself be undone.

#include "CliRunner.h"
#include "FileHashes.h"
#include "TestSupport.h"

#include "base/FileHash.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/Image.h"
#include "formats/Pictures.h"

#include <gtest/gtest.h>
#include <map>
#include <sstream>

using namespace pitwall;

namespace {

using Snapshot = test::FileHashes;

Snapshot Hashes(const std::string& game) { return test::HashesOfFiles(game); }

struct Installations {
    test::TempDir dir;
    std::string a = dir / "A/", b = dir / "B/", carset = dir / "teams.GMS", points = dir / "points";
    Installations()
    {
        test::MakeDemo(a, 2, 1);
        test::MakeDemo(b, 2, 2);
    }
    test::CliRun run(std::vector<std::string> args)
    {
        args.insert(args.end(), {"--restore-dir", points});
        return test::RunCommand(std::move(args));
    }
    // The ids of `restore --list`, newest first.
    std::vector<std::string> ids(const std::string& game)
    {
        std::vector<std::string> ids;
        std::istringstream lines(run({"restore", "--game", game, "--list"}).out);
        for (std::string line; std::getline(lines, line);)
            ids.push_back(line.substr(0, line.find(' ')));
        return ids;
    }
};

} // namespace

TEST(RestorePointsCli, RunsThatWriteNothingLeaveNoPoint)
{
    Installations g;
    // One real point first: it must stay the newest.
    auto expanded = g.run({"art", "expand", "--entries", "755-839", "--game", g.a});
    ASSERT_EQ(expanded.code, 0) << expanded.err;
    const std::vector<std::string> before = g.ids(g.a);
    ASSERT_EQ(before.size(), 1u);
    const Snapshot files = Hashes(g.a);

    // A picture of the wrong size and a file that is no picture are refused
    // before any restore point is made.
    const std::string wrongSize = g.dir / "wrong.bmp";
    SavePicture(Image(3, 5, 24), wrongSize);
    const std::string noPicture = g.dir / "bad.png";
    test::WriteText(noPicture, "not a picture");
    for (int i = 0; i < 11; ++i) {
        auto r = g.run({"art", "import", "755", i % 2 ? noPicture : wrongSize, "--game", g.a});
        EXPECT_EQ(r.code, 1) << r.err;
        EXPECT_EQ(r.err.find("restore point"), std::string::npos) << r.err;
    }
    // Entries that fit already: nothing is expanded, no point made.
    auto again = g.run({"art", "expand", "--entries", "755", "--game", g.a});
    EXPECT_EQ(again.code, 1) << again.err;
    EXPECT_EQ(g.ids(g.a), before);
    EXPECT_EQ(Hashes(g.a), files);
}

// Both programs keep their points in one folder: an apply trims them to the
// desktop program's limit, not to the built-in ten.
TEST(RestorePointsCli, AppliesKeepToTheDesktopProgramsLimit)
{
    Installations g;
    const std::string program = g.dir / "program/";
    ForceDirectories(program);
    CopyFileForced(PITWALL_RUNTIME_DIR "/ENGLISH.LNG", program + "ENGLISH.LNG");
    test::WriteText(program + "PITWALL.INI", "[General]\r\nRestorePoints=1\r\n");
    const std::string fromA = g.dir / "a.GMS";
    ASSERT_EQ(g.run({"import", "--game", g.a, "--items", "1", "-o", fromA}).code, 0);
    ASSERT_EQ(g.run({"import", "--game", g.b, "--items", "1", "-o", g.carset}).code, 0);
    for (const std::string& carset : {g.carset, fromA}) {
        auto applied = test::RunCommand({"apply", carset, "--game", g.a, "--restore-dir", g.points}, program);
        ASSERT_EQ(applied.code, 0) << applied.err;
    }
    EXPECT_EQ(g.ids(g.a).size(), 1u);
}

TEST(RestorePointsCli, ARestoreNamesTheLaterChangesAndCanBeUndone)
{
    Installations g;
    ASSERT_EQ(g.run({"import", "--game", g.a, "--items", "1", "-o", g.carset}).code, 0);
    const Snapshot original = Hashes(g.b);
    auto applied = g.run({"apply", g.carset, "--items", "1", "--game", g.b});
    ASSERT_EQ(applied.code, 0) << applied.err;
    auto set = g.run({"settings", "set", "--game", g.b, "points=25,18,15"});
    ASSERT_EQ(set.code, 0) << set.err;
    const Snapshot withSettings = Hashes(g.b);

    // The list says what each point was made by, the carset by name.
    auto list = g.run({"restore", "--game", g.b, "--list"});
    ASSERT_EQ(list.code, 0);
    EXPECT_NE(list.out.find("Apply of carset teams.GMS (items 1)"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("Settings change"), std::string::npos) << list.out;
    auto json = g.run({"restore", "--game", g.b, "--list", "--json"});
    EXPECT_NE(json.out.find("\"carset\": \"teams.GMS\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"kind\": \"settings\""), std::string::npos) << json.out;
    const std::vector<std::string> ids = g.ids(g.b);
    ASSERT_EQ(ids.size(), 2u);
    const std::string applyPoint = ids[1];

    // Without --yes: the later change is named, nothing is written.
    auto refused = g.run({"restore", applyPoint, "--game", g.b});
    EXPECT_NE(refused.code, 0);
    EXPECT_NE(refused.err.find("undoes 1 later change"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find(ids[0] + "  "), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("Settings change"), std::string::npos) << refused.err;
    EXPECT_EQ(Hashes(g.b), withSettings);
    EXPECT_EQ(g.ids(g.b), ids);

    // With --yes: back to before the apply, behind a point of its own.
    auto restored = g.run({"restore", applyPoint, "--game", g.b, "--yes"});
    ASSERT_EQ(restored.code, 0) << restored.err;
    EXPECT_EQ(Hashes(g.b), original);
    const std::vector<std::string> after = g.ids(g.b);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_NE(restored.err.find("restore point " + after[0]), std::string::npos) << restored.err;
    list = g.run({"restore", "--game", g.b, "--list"});
    EXPECT_NE(list.out.find("Before restore of " + applyPoint), std::string::npos) << list.out;

    // Restoring that point brings the apply and the settings change back.
    auto undone = g.run({"restore", after[0], "--game", g.b});
    ASSERT_EQ(undone.code, 0) << undone.err;
    EXPECT_EQ(Hashes(g.b), withSettings);
}
