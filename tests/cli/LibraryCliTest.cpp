// The carset library on the command line: keeping carsets, applying one
// with its history, and undoing one apply alone while later changes stay.

#include "CliRunner.h"
#include "FileHashes.h"
#include "TestSupport.h"

#include "base/FileHash.h"
#include "base/FileUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

using namespace pitwall;

namespace {

using Snapshot = test::FileHashes;

Snapshot Hashes(const std::string& game) { return test::HashesOfFiles(game); }

struct Library {
    test::TempDir dir;
    std::string library = dir / "library", points = dir / "points";
    test::CliRun run(std::vector<std::string> args)
    {
        if (args.front() == "library")
            args.insert(args.end(), {"--library", library});
        args.insert(args.end(), {"--restore-dir", points});
        return test::RunCommand(std::move(args));
    }
    // A carset of the teams (or other items) of a demo installation made
    // with `seed`.
    std::string teamsCarset(const std::string& name, std::uint64_t seed, const std::string& items = "1")
    {
        const std::string game = dir / ("source" + std::to_string(seed) + "/"), file = dir / (name + ".GMS");
        if (!FileExists(game + "GP3.EXE"))
            test::MakeDemo(game, 2, seed);
        auto r = test::RunCommand({"import", "--game", game, "--items", items, "-o", file, "--author", "Somebody"});
        EXPECT_EQ(r.code, 0) << r.err;
        return file;
    }
};

} // namespace

TEST(LibraryCli, KeepsCarsetsByName)
{
    Library l;
    const std::string ferrano = l.teamsCarset("Ferrano", 3), other = l.teamsCarset("Other", 4);
    auto added = l.run({"library", "add", ferrano});
    ASSERT_EQ(added.code, 0) << added.err;
    EXPECT_TRUE(FileExists(l.library + "/Ferrano.GMS"));
    EXPECT_EQ(added.out, ""); // what was added is a note, as every command's
    EXPECT_EQ(added.err.rfind("added Ferrano (", 0), 0u) << added.err;
    // The same file again is no error, and copies nothing; another file
    // under a taken name is an error.
    auto again = l.run({"library", "add", ferrano});
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(again.err.rfind("already held: Ferrano", 0), 0u) << again.err;
    auto clash = l.run({"library", "add", other, "--name", "ferrano"});
    EXPECT_EQ(clash.code, 1);
    EXPECT_NE(clash.err.find("already holds another carset named Ferrano"), std::string::npos) << clash.err;
    const std::string junk = l.dir / "junk.GMS";
    test::WriteText(junk, "no zip");
    EXPECT_EQ(l.run({"library", "add", junk}).code, 1);
    EXPECT_EQ(l.run({"library", "add", other, "--name", "../escape"}).code, 1);
    ASSERT_EQ(l.run({"library", "add", other, "--name", "Second"}).code, 0);

    auto list = l.run({"library", "list"});
    ASSERT_EQ(list.code, 0) << list.err;
    EXPECT_EQ(list.out, "Ferrano  v1.0  Somebody  teams\nSecond  v1.0  Somebody  teams\n");
    auto json = l.run({"library", "list", "--json"});
    EXPECT_NE(json.out.find("\"words\": [\n        \"teams\"\n      ]"), std::string::npos) << json.out;

    ASSERT_EQ(l.run({"library", "remove", "FERRANO"}).code, 0);
    EXPECT_FALSE(FileExists(l.library + "/Ferrano.GMS"));
    EXPECT_EQ(l.run({"library", "remove", "Ferrano"}).code, 1);
    EXPECT_EQ(l.run({"library", "list"}).out, "Second  v1.0  Somebody  teams\n");

    // A library folder named that is not there, or a --game that is no
    // installation, is a mistake, not an empty list.
    auto nowhere = test::RunCommand({"library", "list", "--library", l.dir / "nowhere", "--json"});
    EXPECT_EQ(nowhere.code, 1);
    EXPECT_NE(nowhere.err.find("nowhere does not exist"), std::string::npos) << nowhere.err;
    EXPECT_FALSE(DirectoryExists(l.dir / "nowhere"));
    for (const std::string& game : {l.dir / "nothing", l.dir.path()}) {
        auto history = l.run({"library", "history", "--game", game, "--json"});
        EXPECT_EQ(history.code, 1) << game;
        EXPECT_EQ(history.out.find("\"history\""), std::string::npos) << history.out;
    }
}

TEST(LibraryCli, UndoingOneCarsetKeepsLaterChangesElsewhere)
{
    Library l;
    ASSERT_EQ(l.run({"library", "add", l.teamsCarset("Ferrano", 3)}).code, 0);
    const std::string game = l.dir / "game/", expected = l.dir / "expected/";
    test::MakeDemo(game, 2, 2);
    test::MakeDemo(expected, 2, 2);

    auto applied = l.run({"library", "apply", "Ferrano", "--game", game});
    ASSERT_EQ(applied.code, 0) << applied.err;
    const Snapshot withCarset = Hashes(game);
    ASSERT_NE(withCarset, Hashes(expected));
    // A later change of other bytes of the same files.
    ASSERT_EQ(l.run({"settings", "set", "--game", game, "points=25,18,15"}).code, 0);
    ASSERT_EQ(l.run({"settings", "set", "--game", expected, "points=25,18,15"}).code, 0);

    auto history = l.run({"library", "history", "--game", game});
    ASSERT_EQ(history.code, 0) << history.err;
    EXPECT_NE(history.out.find("  Ferrano  teams  "), std::string::npos) << history.out;
    EXPECT_EQ(history.out.find("undone"), std::string::npos) << history.out;

    const Snapshot withSettings = Hashes(game);
    auto preview = l.run({"library", "undo", "Ferrano", "--game", game, "--dry-run"});
    ASSERT_EQ(preview.code, 0) << preview.err;
    EXPECT_NE(preview.out.find("Apply of carset Ferrano.GMS"), std::string::npos) << preview.out;
    EXPECT_EQ(Hashes(game), withSettings);
    auto undone = l.run({"library", "undo", "Ferrano", "--game", game});
    ASSERT_EQ(undone.code, 0) << undone.err;
    // The carset's bytes are back as before it, the settings change stays:
    // the installation is what the settings change alone makes of it.
    EXPECT_EQ(Hashes(game), Hashes(expected));
    history = l.run({"library", "history", "--game", game});
    EXPECT_NE(history.out.find("undone"), std::string::npos) << history.out;
    auto again = l.run({"library", "undo", "Ferrano", "--game", game});
    EXPECT_EQ(again.code, 1);
    // The undo is a run of its own: its restore point says what it was.
    auto list = l.run({"restore", "--game", game, "--list"});
    EXPECT_NE(list.out.find("Undo of carset Ferrano"), std::string::npos) << list.out;

    // Items the carset lacks are named and fail the run, after the others
    // are applied and kept in the history.
    auto partly = l.run({"library", "apply", "Ferrano", "--game", game, "--items", "1,116"});
    EXPECT_EQ(partly.code, 1);
    EXPECT_NE(partly.err.find("the carset does not carry items 116; they are left as they are"), std::string::npos)
        << partly.err;
    EXPECT_NE(Hashes(game), Hashes(expected));
    history = l.run({"library", "history", "--game", game});
    EXPECT_EQ(std::count(history.out.begin(), history.out.end(), '\n'), 2) << history.out;
}

// Liveries are whole files, some of another size than the game's.
TEST(LibraryCli, UndoingWholeFilesPutsThemBack)
{
    Library l;
    ASSERT_EQ(l.run({"library", "add", l.teamsCarset("Liveries", 3, "graphics")}).code, 0);
    const std::string game = l.dir / "game/";
    test::MakeDemo(game, 2, 2);
    const Snapshot original = Hashes(game);
    std::map<std::string, std::uint64_t> sizes;
    for (const auto& [file, hash] : original)
        sizes[file] = std::filesystem::file_size(NativePath(game + file));
    ASSERT_EQ(l.run({"library", "apply", "Liveries", "--game", game}).code, 0);
    ASSERT_NE(Hashes(game), original);

    // A resized file that another program changed since (here: grew) is not
    // put back over that change.
    std::string resized;
    for (const auto& [file, size] : sizes)
        if (std::filesystem::file_size(NativePath(game + file)) != size)
            resized = file;
    ASSERT_FALSE(resized.empty());
    std::vector<std::uint8_t> applied = test::ReadBytes(game + resized), edited = applied;
    edited.push_back(7);
    test::WriteBytes(game + resized, edited);
    const Snapshot changedSince = Hashes(game);
    auto refused = l.run({"library", "undo", "Liveries", "--game", game});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("has been given another size since"), std::string::npos) << refused.err;
    EXPECT_EQ(Hashes(game), changedSince);

    test::WriteBytes(game + resized, applied);
    auto undone = l.run({"library", "undo", "Liveries", "--game", game});
    ASSERT_EQ(undone.code, 0) << undone.err;
    EXPECT_EQ(Hashes(game), original);
}

TEST(LibraryCli, AnOverlappingLaterApplyStopsTheUndoUntilConfirmed)
{
    Library l;
    ASSERT_EQ(l.run({"library", "add", l.teamsCarset("First", 3)}).code, 0);
    ASSERT_EQ(l.run({"library", "add", l.teamsCarset("Second", 4)}).code, 0);
    const std::string game = l.dir / "game/";
    test::MakeDemo(game, 2, 2);
    const Snapshot original = Hashes(game);
    ASSERT_EQ(l.run({"library", "apply", "First", "--game", game}).code, 0);
    ASSERT_EQ(l.run({"library", "apply", "Second", "--game", game}).code, 0);
    const Snapshot both = Hashes(game);

    auto refused = l.run({"library", "undo", "First", "--game", game});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("Apply of carset Second.GMS"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("nothing was changed"), std::string::npos) << refused.err;
    EXPECT_EQ(Hashes(game), both);

    auto through = l.run({"library", "undo", "First", "--game", game, "--yes"});
    ASSERT_EQ(through.code, 0) << through.err;
    EXPECT_EQ(Hashes(game), original);
    auto history = l.run({"library", "history", "--game", game, "--json"});
    EXPECT_EQ(history.out.find("\"undone\": false"), std::string::npos) << history.out;
}

// A run started in another folder: the apply named its installation by a
// relative path, the undo puts the bytes back there and nowhere else.
TEST(LibraryCli, AnUndoWritesTheInstallationItNames)
{
    Library l;
    ASSERT_EQ(l.run({"library", "add", l.teamsCarset("Ferrano", 3)}).code, 0);
    const std::string one = l.dir / "one/game/", two = l.dir / "two/game/";
    test::MakeDemo(one, 2, 2);
    test::MakeDemo(two, 2, 2);
    const Snapshot original = Hashes(one);
    const std::filesystem::path started = std::filesystem::current_path();
    std::filesystem::current_path(NativePath(l.dir / "one"));
    auto applied = l.run({"library", "apply", "Ferrano", "--game", "game"});
    std::filesystem::current_path(NativePath(l.dir / "two"));
    auto undone = l.run({"library", "undo", "Ferrano", "--game", one});
    std::filesystem::current_path(started);
    ASSERT_EQ(applied.code, 0) << applied.err;
    ASSERT_EQ(undone.code, 0) << undone.err;
    EXPECT_EQ(Hashes(one), original);
    EXPECT_EQ(Hashes(two), original);
}
