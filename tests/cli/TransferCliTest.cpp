#include "CliRunner.h"
#include "TestSupport.h"

#include "RunCli.h"
#include "base/FileUtils.h"
#include "transfer/SavegameChecksum.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace pitwall;

namespace {

// TMPDIR of this process (and so of the in-process runner) for a while.
class TemporaryDirectoryOverride {
public:
    explicit TemporaryDirectoryOverride(const std::string& directory)
    {
        if (const char* old = std::getenv("TMPDIR"))
            old_ = old;
        test::SetEnvironment("TMPDIR", directory.c_str());
    }
    ~TemporaryDirectoryOverride()
    {
        if (old_)
            test::SetEnvironment("TMPDIR", old_->c_str());
        else
            test::UnsetEnvironment("TMPDIR");
    }

private:
    std::optional<std::string> old_;
};

} // namespace

TEST(TransferCli, TeamsGoFromOneInstallationToAnother)
{
    test::TempDir dir;
    std::string a = dir / "A", b = dir / "B", carset = dir / "t.GMS";
    test::MakeDemo(a, 2, 1);
    test::MakeDemo(b, 2, 2);
    auto showA = test::RunCommand({"teams", "show", "--game", a, "--quiet"});
    ASSERT_EQ(showA.code, 0) << showA.err;
    EXPECT_NE(test::RunCommand({"teams", "show", "--game", b, "--quiet"}).out, showA.out);

    auto imported = test::RunCommand({"import", "--game", a, "--items", "1", "-o", carset});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_NE(imported.err.find("%]"), std::string::npos); // progress lines on stderr
    auto list = test::RunCommand({"carset", "list", carset});
    ASSERT_EQ(list.code, 0) << list.err;
    EXPECT_NE(list.out.find("format: 8"), std::string::npos);
    EXPECT_NE(list.out.find("TeamsDrivers.DAT  1122"), std::string::npos);
    EXPECT_NE(list.out.find("Header.DAT  360"), std::string::npos);
    auto info = test::RunCommand({"carset", "info", carset});
    EXPECT_EQ(info.out.substr(0, 14), "version: v1.0\n");

    // The closing lines count the files written; a second apply has nothing to write.
    auto applied = test::RunCommand({"apply", carset, "--game", b});
    ASSERT_EQ(applied.code, 0) << applied.err;
    EXPECT_NE(applied.err.find("\nwrote 2 game files\nrestore point "), std::string::npos) << applied.err;
    EXPECT_EQ(test::RunCommand({"teams", "show", "--game", b, "--quiet"}).out, showA.out);
    auto again = test::RunCommand({"apply", carset, "--game", b});
    ASSERT_EQ(again.code, 0) << again.err;
    EXPECT_NE(again.err.find("\nno game file changed: the installation already held all of it\n"), std::string::npos)
        << again.err;
    EXPECT_EQ(again.err.find("restore point"), std::string::npos) << again.err;
    auto checksum = test::RunCommand({"checksum", "--game", b});
    EXPECT_EQ(checksum.out.substr(10, 8), checksum.out.substr(checksum.out.find("computed:") + 10, 8));
    // Items the carset does not carry are named; none of them carried is a
    // failure, not "already held".
    auto lacking = test::RunCommand({"apply", carset, "--game", b, "--items", "sounds"});
    EXPECT_EQ(lacking.code, 1);
    EXPECT_NE(lacking.err.find("the carset carries none of the listed items"), std::string::npos) << lacking.err;
    // Some of them carried: those are applied, the others named, and the
    // run does not end as though all were done (in a dry run neither).
    std::string c = dir / "C", per = dir / "teams.PER";
    test::MakeDemo(c, 2, 2);
    auto partlyPreview = test::RunCommand({"apply", carset, "--game", c, "--items", "1,116", "--dry-run"});
    EXPECT_EQ(partlyPreview.code, 1) << partlyPreview.err;
    EXPECT_NE(partlyPreview.err.find("the carset does not carry items 116;"), std::string::npos) << partlyPreview.err;
    // The reason for the status is said even with --quiet.
    auto partly = test::RunCommand({"apply", carset, "--game", c, "--items", "1,116", "--quiet"});
    EXPECT_EQ(partly.code, 1) << partly.err;
    EXPECT_NE(partly.err.find("the carset does not carry items 116; they are left as they are"), std::string::npos)
        << partly.err;
    EXPECT_EQ(test::RunCommand({"teams", "show", "--game", c, "--quiet"}).out, showA.out);
    ASSERT_EQ(test::RunCommand({"restore", "--game", c, "--quiet"}).code, 0);
    // A range over item 9, or "all", names what no carset carries: a round
    // trip of the same list lacks nothing.
    const std::string ranged = dir / "ranged.GMS";
    ASSERT_EQ(test::RunCommand({"import", "--game", a, "--items", "8-10", "-o", ranged, "--quiet"}).code, 0);
    auto sameRange = test::RunCommand({"apply", ranged, "--game", c, "--items", "8-10", "--dry-run"});
    EXPECT_EQ(sameRange.code, 0) << sameRange.err;
    EXPECT_EQ(sameRange.err.find("does not carry"), std::string::npos) << sameRange.err;

    // .PER files: out of A, into a fresh C.
    ASSERT_EQ(test::RunCommand({"teams", "per-export", "--game", a, per, "--quiet"}).code, 0);
    ASSERT_EQ(test::RunCommand({"teams", "per-import", "--game", c, per, "--quiet"}).code, 0);
    auto showC = test::RunCommand({"teams", "show", "--game", c, "--quiet"}).out;
    // Names and values came over; tyres and pit places are not part of a .PER file.
    EXPECT_NE(showC.find(showA.out.substr(showA.out.find('\n') + 1, 40)), std::string::npos);
}

// v1.00 has five languages: "all" takes what that version has and says
// nothing of the American, Polish and Portuguese texts and LCD displays.
TEST(TransferCli, ImportOfEverythingFromVersion100TakesWhatThatVersionHas)
{
    test::TempDir dir;
    test::MakeDemo(dir / "g", 1, 1);
    auto run = test::RunCommand({"import", "--game", dir / "g", "--items", "all", "-o", dir / "all.GMS", "--quiet"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err.find("not imported"), std::string::npos) << run.err;
    ASSERT_TRUE(FileExists(dir / "all.GMS"));
    auto list = test::RunCommand({"carset", "list", dir / "all.GMS"});
    ASSERT_EQ(list.code, 0) << list.err;
    EXPECT_NE(list.out.find("Language4.DAT"), std::string::npos) << list.out;
    EXPECT_EQ(list.out.find("Language5.DAT"), std::string::npos) << list.out;
}

TEST(TransferCli, FailuresAndBackup)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimit;
#else
    test::TempDir dir;
    test::MakeDemo(dir / "g");
    EXPECT_EQ(test::RunCommand({"import", "--game", dir / "g", "--items", "1,999", "-o", dir / "x.GMS"}).code, 2);
    EXPECT_EQ(test::RunCommand({"import", "--game", dir / "g", "--items", "x", "-o", dir / "x.GMS"}).code, 2);
    test::WriteText(dir / "bad.GMS", "no zip");
    auto bad = test::RunCommand({"apply", dir / "bad.GMS", "--game", dir / "g"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("not a carset"), std::string::npos) << bad.err;
    auto missing = test::RunCommand({"apply", dir / "missing.GMS", "--game", dir / "g"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("missing.GMS does not exist"), std::string::npos) << missing.err;
    EXPECT_EQ(test::RunCommand({"carset", "list", dir / "bad.GMS"}).code, 1);
    // A folder or a pipe where a carset was expected is named for what it is,
    // and the pipe is not opened (the command would wait for a writer).
    ASSERT_TRUE(ForceDirectories(dir / "folder.GMS"));
    auto folder = test::RunCommand({"carset", "info", dir / "folder.GMS"});
    EXPECT_EQ(folder.code, 1);
    EXPECT_NE(folder.err.find("folder.GMS: it is a folder, not a file"), std::string::npos) << folder.err;
    auto intoFolder = test::RunCommand({"import", "--game", dir / "g", "--items", "1", "-o", dir / "folder.GMS"});
    EXPECT_EQ(intoFolder.code, 1);
    EXPECT_NE(intoFolder.err.find("Cannot write " + (dir / "folder.GMS") + ": it is a folder"), std::string::npos)
        << intoFolder.err;
    ASSERT_EQ(::mkfifo((dir / "pipe.GMS").c_str(), 0600), 0);
    auto pipe = test::RunCommand({"library", "add", dir / "pipe.GMS", "--library", dir / "library"});
    EXPECT_EQ(pipe.code, 1);
    EXPECT_NE(pipe.err.find("pipe.GMS: it is not a regular file"), std::string::npos) << pipe.err;

    auto backup =
        test::RunCommand({"backup", "--game", dir / "g", "--groups", "0,1", "--to", dir / "backup", "--quiet"});
    ASSERT_EQ(backup.code, 0) << backup.err;
    EXPECT_EQ(FileSizeOf(dir / "backup/GP3.EXE"), FileSizeOf(dir / "g/GP3.EXE"));
    EXPECT_TRUE(FileExists(dir / "backup/F1GSTATE.SAV"));
    EXPECT_EQ(test::RunCommand({"backup", "--game", dir / "g", "--groups", "16", "--to", dir / "b2"}).code, 2);
    // A "backup" into the game folder itself would be the same files.
    auto intoGame = test::RunCommand({"backup", "--game", dir / "g", "--groups", "0", "--to", dir / "g/"});
    EXPECT_EQ(intoGame.code, 1);
    EXPECT_NE(intoGame.err.find("the game folder itself"), std::string::npos) << intoGame.err;

    // A full disk: GP3.EXE does not fit, the savegame does; the run says so and fails.
    test::CliRun full;
    {
        test::FileSizeLimit limit(FileSizeOf(dir / "g/F1GSTATE.SAV") + 1);
        full = test::RunCommand({"backup", "--game", dir / "g", "--groups", "0,1", "--to", dir / "full", "--quiet"});
    }
    EXPECT_EQ(full.code, 1);
    EXPECT_NE(full.err.find("  " + dir / "g/GP3.EXE: "), std::string::npos) << full.err;
    EXPECT_NE(full.err.find("pitwall-cli: the backup is incomplete: 1 file was not copied"), std::string::npos);
    EXPECT_FALSE(FileExists(dir / "full/GP3.EXE"));
    EXPECT_EQ(FileSizeOf(dir / "full/F1GSTATE.SAV"), FileSizeOf(dir / "g/F1GSTATE.SAV"));
    EXPECT_EQ(ListFiles(dir / "full", "*.*", true, false).size(), 1u);

    // A group without a file to copy (the demo has no cockpit picture
    // BITMAPS\CPITHI3.PCX): nothing was backed up, and the run says so.
    auto nothing = test::RunCommand({"backup", "--game", dir / "g", "--groups", "11", "--to", dir / "b3", "--quiet"});
    EXPECT_EQ(nothing.code, 1);
    EXPECT_NE(nothing.err.find("Nothing was copied to " + dir / "b3"), std::string::npos) << nothing.err;
#endif
}

TEST(TransferCli, NothingPlantedInTheTemporaryDirectoryRedirectsAnApply)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    test::TempDir dir;
    std::string game = dir / "g", carset = dir / "t.GMS";
    test::MakeDemo(game, 2, 1);
    ASSERT_EQ(test::RunCommand({"import", "--game", game, "--items", "1", "-o", carset, "--quiet"}).code, 0);

    // Another local user links the names working directories are likely to
    // get to a directory of theirs.
    std::string tmp = dir / "tmp/", theirs = dir / "theirs/", empty = dir / "empty/";
    ForceDirectories(tmp);
    ForceDirectories(empty);
    test::WriteText(theirs + "keep", "k");
    for (int n = 0; n < 200; ++n) {
        std::string name = tmp + "pitwall-cli-" + std::to_string(test::ProcessId()) + "-" + std::to_string(n);
        ASSERT_EQ(::symlink(theirs.c_str(), name.c_str()), 0);
    }
    auto planted = ListFiles(tmp, "*", true, true);
    {
        TemporaryDirectoryOverride override(tmp);
        auto applied = test::RunCommand({"apply", carset, "--game", game, "--quiet"});
        EXPECT_EQ(applied.code, 0) << applied.err;
    }
    EXPECT_EQ(ListFiles(theirs, "*", true, true), (std::vector<std::string>{theirs + "keep", theirs}));
    EXPECT_EQ(ListFiles(tmp, "*", true, true), planted); // and the working directory is gone

    // A start that fails leaves no working directory behind.
    {
        TemporaryDirectoryOverride override(empty);
        auto failed = test::RunCommand({"apply", carset, "--game", theirs, "--quiet"});
        EXPECT_EQ(failed.code, 1);
        EXPECT_NE(failed.err.find("not a valid Grand Prix 3 installation"), std::string::npos) << failed.err;
    }
    EXPECT_EQ(ListFiles(empty, "*", true, true), std::vector<std::string>{empty});
#endif
}

TEST(TransferCli, TimingsNameEachPhaseOnceEvenWhenQuiet)
{
    test::TempDir dir;
    std::string a = dir / "A", b = dir / "B", carset = dir / "t.GMS";
    test::MakeDemo(a, 2, 1);
    test::MakeDemo(b, 2, 2);
    auto count = [](const std::string& text, const std::string& what) {
        std::size_t n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    };
    auto imported = test::RunCommand({"import", "--game", a, "--items", "1", "-o", carset, "--timings", "--quiet"});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_EQ(count(imported.err, "\ntiming import "), 0u); // the first line
    EXPECT_EQ(imported.err.rfind("timing import ", 0), 0u);
    EXPECT_EQ(count(imported.err, "timing save "), 1u);
    EXPECT_TRUE(imported.out.empty());

    auto applied = test::RunCommand({"apply", carset, "--game", b, "--timings", "--quiet"});
    ASSERT_EQ(applied.code, 0) << applied.err;
    EXPECT_EQ(count(applied.err, "timing load "), 1u);
    EXPECT_EQ(count(applied.err, "timing export "), 1u);
    // Without the flag there are none.
    auto plain = test::RunCommand({"import", "--game", a, "--items", "1", "-o", carset, "--quiet"});
    EXPECT_EQ(plain.err.find("timing"), std::string::npos);
}
