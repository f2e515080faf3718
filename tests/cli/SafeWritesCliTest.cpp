// Commands that change an installation either finish or leave it as it was:
// a full disk, a missing carset member, an item nothing carries and a killed
// process are all reported, and restore points bring the files back.

#include "CliRunner.h"
#include "FileHashes.h"
#include "TestSupport.h"

#include "base/FileHash.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"

#include <filesystem>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace pitwall;

namespace {

using Snapshot = test::FileHashes;

Snapshot Hashes(const std::string& game) { return test::HashesOfFiles(game); }

std::vector<std::string> Differences(const Snapshot& before, const Snapshot& after)
{
    std::vector<std::string> changed;
    for (const auto& [path, hash] : after)
        if (!before.count(path) || before.at(path) != hash)
            changed.push_back(path);
    for (const auto& [path, hash] : before)
        if (!after.count(path))
            changed.push_back(path);
    std::sort(changed.begin(), changed.end());
    return changed;
}

// The "files that would change" list of a dry run.
std::vector<std::string> FilesOfDryRun(const std::string& out)
{
    std::vector<std::string> files;
    auto at = out.find("files that would change: ");
    if (at == std::string::npos)
        return files;
    std::istringstream lines(out.substr(at));
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line))
        if (line.rfind("  ", 0) == 0)
            files.push_back(
                line.substr(2, line.find("  (", 2) == std::string::npos ? std::string::npos : line.find("  (", 2) - 2));
    for (std::string& file : files) // as the snapshots name them
        std::replace(file.begin(), file.end(), '\\', '/');
    std::sort(files.begin(), files.end());
    return files;
}

#ifndef _WIN32
unsigned Mode(const std::string& file)
{
    struct stat st {};
    ::stat(file.c_str(), &st);
    return st.st_mode & 0777;
}
#endif

struct Installations {
    test::TempDir dir;
    std::string a = dir / "A/", b = dir / "B/", carset = dir / "all.GMS", points = dir / "points";
    Installations()
    {
        test::MakeDemo(a, 2, 1);
        test::MakeDemo(b, 2, 2);
    }
    test::CliRun run(std::vector<std::string> args)
    {
        args.insert(args.end(), {"--restore-dir", points, "--quiet"});
        return test::RunCommand(std::move(args));
    }
};

} // namespace

TEST(SafeWritesCli, AFullDiskLeavesGameFilesAsTheyWere)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimit;
#else
    Installations g;
    // The texts of a language, rewritten whole.
    std::string str = ResolveGamePath(g.a, "LDATA\\ENGLISH.str");
    ASSERT_EQ(g.run({"text", "export", "ENGLISH", g.dir / "en.txt", "--game", g.a}).code, 0);
    // Longer texts: the new file needs room the disk no longer has, while
    // the restore point (a copy of the old one) still fits.
    std::string texts = test::ReadText(g.dir / "en.txt"), longer;
    for (char c : texts) {
        if (c == '\r')
            longer += " longer";
        longer += c;
    }
    test::WriteText(g.dir / "en.txt", longer);
    auto before = test::ReadBytes(str);
    test::CliRun r;
    {
        test::FileSizeLimit full(before.size() + 1000);
        r = g.run({"text", "import", "ENGLISH", g.dir / "en.txt", "--game", g.a});
    }
    EXPECT_EQ(r.code, 1);
    // The system's reason ends its sentence; what became of the files follows.
    EXPECT_NE(r.err.find("ENGLISH.str: File too large. Nothing was changed."), std::string::npos) << r.err;
    EXPECT_EQ(test::ReadBytes(str), before);

    // A 16-bit livery replaced from a picture, in place.
    std::string jam = ResolveGamePath(g.a, "GP3JAMSH\\Liveries\\JORDAN98.JAM");
    ASSERT_EQ(g.run({"jam", "to-bmp", jam, g.dir / "j.bmp"}).code, 0);
    auto picture = test::ReadBytes(g.dir / "j.bmp");
    for (std::size_t i = picture.size() - 400; i < picture.size(); ++i)
        picture[i] ^= 0x5A; // a changed picture, so the JAM really is rewritten
    test::WriteBytes(g.dir / "j.bmp", picture);
    auto jamBefore = test::ReadBytes(jam);
    {
        test::FileSizeLimit full(jamBefore.size() / 2);
        r = g.run({"jam", "from-bmp", jam, g.dir / "j.bmp"});
    }
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(test::ReadBytes(jam), jamBefore);

    // The sound bank: no GP3SOUND.DAT.NEW or other leftover stays behind.
    std::string bank = ResolveGamePath(g.a, "SAMPLES\\GP3SOUND.DAT");
    ASSERT_EQ(g.run({"sound", "extract", "3", g.dir / "s3.wav", "--game", g.a}).code, 0);
    auto bankBefore = test::ReadBytes(bank);
    {
        test::FileSizeLimit full(bankBefore.size() / 2);
        r = g.run({"sound", "replace", "4", g.dir / "s3.wav", "--game", g.a});
    }
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(test::ReadBytes(bank), bankBefore);
    EXPECT_EQ(ListFiles(DirectoryOf(bank), "*", false, false), std::vector<std::string>{bank});

    // The export of an apply: GP3.EXE and F1GSTATE.SAV stay byte for byte.
    ASSERT_EQ(g.run({"import", "--game", g.b, "--items", "1", "-o", g.carset}).code, 0);
    Snapshot snapshot = Hashes(g.a);
    {
        test::FileSizeLimit full(64 * 1024);
        r = g.run({"apply", g.carset, "--game", g.a});
    }
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Differences(snapshot, Hashes(g.a)).empty());

    // Texts the game could not read back are refused before anything is written.
    std::string tooLong;
    for (char c : texts) {
        if (c == '\r')
            tooLong += std::string(40, 'x');
        tooLong += c;
    }
    test::WriteText(g.dir / "long.txt", tooLong);
    r = g.run({"text", "import", "ENGLISH", g.dir / "long.txt", "--game", g.a});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("more than the 100000 the game reads"), std::string::npos) << r.err;
    EXPECT_EQ(test::ReadBytes(str), before);
#endif
}

TEST(SafeWritesCli, ReadingNeverClearsTheReadOnlyBit)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoPosixModes;
#else
    Installations g;
    std::string exe = ResolveGamePath(g.a, "GP3.EXE"), save = ResolveGamePath(g.a, "F1GSTATE.SAV");
    ::chmod(exe.c_str(), 0444);
    ::chmod(save.c_str(), 0444);
    EXPECT_EQ(g.run({"teams", "show", "--game", g.a}).code, 0);
    EXPECT_EQ(g.run({"import", "--game", g.a, "--items", "1", "-o", g.carset}).code, 0);
    EXPECT_EQ(Mode(exe), 0444u);
    EXPECT_EQ(Mode(save), 0444u);
#endif
}

TEST(SafeWritesCli, WhatWasNotDoneIsListedAndExitsOne)
{
    Installations g;
    // A member the header lists but the carset lacks: the apply fails.
    ASSERT_EQ(g.run({"import", "--game", g.a, "--items", "1", "-o", g.carset}).code, 0);
    std::string lacking = g.dir / "lacking.GMS";
#ifdef _WIN32
    GTEST_SKIP() << "the carset lacking a member is made with cp and Info-ZIP's zip, Linux tools here";
#endif
    ASSERT_EQ(
        std::system(("cp '" + g.carset + "' '" + lacking + "' && zip -qd '" + lacking + "' TeamsDrivers.DAT").c_str()),
        0);
    Snapshot before = Hashes(g.b);
    auto r = g.run({"apply", lacking, "--game", g.b});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("TeamsDrivers.DAT in lacking.GMS"), std::string::npos) << r.err;
    EXPECT_TRUE(Differences(before, Hashes(g.b)).empty());
}

TEST(SafeWritesCli, ADryRunListsExactlyWhatTheApplyThenChanges)
{
    Installations g;
    // Everything A has.
    ASSERT_EQ(g.run({"import", "--game", g.a, "--items", "all", "-o", g.carset}).code, 0);
    Snapshot before = Hashes(g.b);
    // The team art and track pictures of A need room in B's art bank: --yes
    // lets it grow.
    auto dry = g.run({"apply", g.carset, "--game", g.b, "--dry-run", "--yes"});
    EXPECT_EQ(dry.code, 0) << dry.err;
    EXPECT_NE(dry.out.find("item 1  "), std::string::npos) << dry.out;
    EXPECT_TRUE(Differences(before, Hashes(g.b)).empty()); // nothing changed
    std::vector<std::string> listed = FilesOfDryRun(dry.out);
    EXPECT_FALSE(listed.empty()) << dry.out;

    ASSERT_EQ(g.run({"apply", g.carset, "--game", g.b, "--yes"}).code, 0);
    EXPECT_EQ(Differences(before, Hashes(g.b)), listed);

    // Applied twice, nothing is left to change.
    auto again = g.run({"apply", g.carset, "--game", g.b, "--dry-run", "--yes"});
    EXPECT_TRUE(FilesOfDryRun(again.out).empty()) << again.out;
}

TEST(SafeWritesCli, AKilledApplyIsUndoneByRestore)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFork;
#else
    Installations g;
    ASSERT_EQ(g.run({"import", "--game", g.a, "--items", "1", "-o", g.carset}).code, 0);
    Snapshot before = Hashes(g.b);

    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::string cli = PITWALL_CLI;
        ::execl(cli.c_str(), cli.c_str(), "apply", g.carset.c_str(), "--game", g.b.c_str(), "--restore-dir",
                g.points.c_str(), "--quiet", "--test-kill-after-files", "1", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    // Killed between the two files: the first has taken its new content, the
    // second's waits staged beside it, the game's file as it was.
    const auto killed = Differences(before, Hashes(g.b));
    ASSERT_EQ(killed.size(), 2u);
    EXPECT_EQ(std::count_if(killed.begin(), killed.end(),
                            [](const std::string& f) { return f.find(".pitwall-staged-") != std::string::npos; }),
              1);

    auto list = g.run({"restore", "--game", g.b, "--list"});
    ASSERT_EQ(list.code, 0) << list.err;
    EXPECT_NE(list.out.find("Apply of carset all.GMS (items 1)"), std::string::npos) << list.out;
    // The restore puts the file back and clears the killed run's staged one.
    auto restored = g.run({"restore", "--game", g.b});
    ASSERT_EQ(restored.code, 0) << restored.err;
    EXPECT_TRUE(Differences(before, Hashes(g.b)).empty());
    EXPECT_EQ(g.run({"restore", "--game", g.b, "no-such-point"}).code, 1);
#endif
}

TEST(SafeWritesCli, AGameFileThatWasALinkIsRestoredAsTheLink)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    Installations g;
    // The sound bank is a link to a file outside the installation.
    const std::string bank = ResolveGamePath(g.a, "SAMPLES\\GP3SOUND.DAT");
    const std::string outside = g.dir / "shared-sounds.DAT";
    ASSERT_TRUE(std::filesystem::copy_file(bank, outside));
    DeleteFileForced(bank);
    std::filesystem::create_symlink(outside, bank);
    const auto outsideBefore = test::ReadBytes(outside);

    ASSERT_EQ(g.run({"sound", "extract", "3", g.dir / "s3.wav", "--game", g.a}).code, 0);
    ASSERT_EQ(g.run({"sound", "replace", "4", g.dir / "s3.wav", "--game", g.a}).code, 0);
    // The new bank took the link's place; the file outside is untouched.
    EXPECT_FALSE(std::filesystem::is_symlink(bank));
    EXPECT_NE(test::ReadBytes(bank), outsideBefore);
    EXPECT_EQ(test::ReadBytes(outside), outsideBefore);

    auto restored = g.run({"restore", "--game", g.a});
    ASSERT_EQ(restored.code, 0) << restored.err;
    ASSERT_TRUE(std::filesystem::is_symlink(bank));
    EXPECT_EQ(std::filesystem::read_symlink(bank), std::filesystem::path(outside));
    EXPECT_EQ(test::ReadBytes(outside), outsideBefore);
    // Nothing but the link is left beside it.
    EXPECT_EQ(ListFiles(DirectoryOf(bank), "*", false, false), std::vector<std::string>{bank});
#endif
}

TEST(SafeWritesCli, AnApplyThatEnlargesTheArtBankIsOneRunWithOneRestorePoint)
{
    Installations g;
    // The track pictures need B's art bank enlarged (--expand-art).
    ASSERT_EQ(g.run({"import", "--game", g.a, "--items", "all", "-o", g.carset}).code, 0);
    Snapshot before = Hashes(g.b);

    // The preview does what the real run will do, the expansion included.
    auto dry = g.run({"apply", g.carset, "--game", g.b, "--dry-run", "--expand-art", "--yes"});
    EXPECT_EQ(dry.code, 0) << dry.err;
    EXPECT_TRUE(Differences(before, Hashes(g.b)).empty());
    std::vector<std::string> listed = FilesOfDryRun(dry.out);
    EXPECT_NE(std::find(listed.begin(), listed.end(), "BITMAPS/GP3ART5.BIN"), listed.end()) << dry.out;

    auto applied =
        test::RunCommand({"apply", g.carset, "--game", g.b, "--expand-art", "--yes", "--restore-dir", g.points});
    ASSERT_EQ(applied.code, 0) << applied.err;
    EXPECT_EQ(Differences(before, Hashes(g.b)), listed);
    // One point, named once, holding the bank as it was.
    auto list = g.run({"restore", "--game", g.b, "--list"});
    ASSERT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 1) << list.out;
    EXPECT_NE(applied.err.find("restore point " + list.out.substr(0, list.out.find(' '))), std::string::npos)
        << applied.err;

    // A plain restore gives the installation back byte for byte.
    // The restore puts the file back and clears the killed run's staged one.
    auto restored = g.run({"restore", "--game", g.b});
    ASSERT_EQ(restored.code, 0) << restored.err;
    EXPECT_TRUE(Differences(before, Hashes(g.b)).empty());
}

TEST(SafeWritesCli, ArtExpandWritesNothingOutsideAndFailsWithTheReason)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimit;
#else
    Installations g;
    const std::string bank = ResolveGamePath(g.a, "BITMAPS\\GP3ART5.BIN");
    const auto original = test::ReadBytes(bank);
    const std::vector<std::string> bitmaps = ListFiles(DirectoryOf(bank), "*", false, false);

    // The disk takes the restore point's copy of the bank, not the larger
    // new bank: the reason is named, the bank is whole, so nothing needs
    // putting back and nothing is said to have failed there.
    test::CliRun r;
    {
        test::FileSizeLimit full(original.size() + 1000);
        r = g.run({"art", "expand", "--entries", "755-839", "--game", g.a});
    }
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("GP3ART5.BIN: File too large; nothing was changed"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("not put back"), std::string::npos) << r.err;
    EXPECT_EQ(test::ReadBytes(bank), original);
    EXPECT_EQ(ListFiles(DirectoryOf(bank), "*", false, false), bitmaps);

    // GP3ART5.BIN.NEW placed as a link to a file outside: not written through.
    const std::string victim = g.dir / "victim.txt";
    test::WriteText(victim, "not the art bank");
    ASSERT_EQ(::symlink(victim.c_str(), (bank + ".NEW").c_str()), 0);
    r = g.run({"art", "expand", "--entries", "755-839", "--game", g.a});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(test::ReadText(victim), "not the art bank");
    struct stat st {};
    ASSERT_EQ(::lstat(bank.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_GT(test::ReadBytes(bank).size(), original.size());
#endif
}

TEST(SafeWritesCli, EveryWritingCommandNamesItsRestorePoint)
{
    Installations g;
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--restore-dir", g.points});
        return test::RunCommand(std::move(args));
    };
    auto pointNamed = [](const test::CliRun& r) { return r.err.find("restore point ") != std::string::npos; };

    // A savegame with a wrong checksum: --fix writes it behind a point.
    const std::string save = ResolveGamePath(g.a, "F1GSTATE.SAV");
    auto broken = test::ReadBytes(save);
    broken.back() ^= 0xFF;
    test::WriteBytes(save, broken);
    auto r = run({"checksum", "--game", g.a, "--fix"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("fixed"), std::string::npos);
    EXPECT_TRUE(pointNamed(r)) << r.err;
    EXPECT_NE(test::ReadBytes(save), broken);
    ASSERT_EQ(g.run({"restore", "--game", g.a}).code, 0);
    EXPECT_EQ(test::ReadBytes(save), broken);

    r = run({"settings", "set", "--game", g.a, "pit-speed-mph=60"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(pointNamed(r)) << r.err;
}
