// One writer per installation, restore points kept only in folders of the
// user's own, and the leftovers of killed runs cleared: the lock and what
// it names, planted links in the restore-point folders, a missing data
// directory, pruning beside a run that is making its point, stale
// temporaries in an installation and abandoned working folders.

#include "TestSupport.h"

#include "base/FileUtils.h"
#include "base/InstallationLock.h"
#include "transfer/GameChangeSet.h"
#include "transfer/Leftovers.h"
#include "transfer/RestorePoints.h"
#include "transfer/WorkingFolders.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace pitwall;

#ifdef _WIN32
namespace pitwall::test {
// Sets a file's or folder's modification time `seconds` back (TestSupport.cpp).
void SetBackInTime(const std::string& path, int seconds);
} // namespace pitwall::test
#endif

namespace {

std::vector<std::uint8_t> Bytes(std::size_t size, std::uint8_t seed)
{
    std::vector<std::uint8_t> bytes(size, seed);
    return bytes;
}

// Sets a file's or folder's time back, as if it was left long ago.
void Age(const std::string& path, int seconds)
{
#ifdef _WIN32
    test::SetBackInTime(path, seconds);
#else
    struct timeval times[2];
    ::gettimeofday(&times[0], nullptr);
    times[0].tv_sec -= seconds;
    times[1] = times[0];
    ::lutimes(path.c_str(), times);
#endif
}

WriterInfo Writer(const std::string& program, std::int64_t run, int waitMs, const std::string& locks)
{
    WriterInfo writer;
    writer.program = program;
    writer.runStarted = run;
    writer.wait = std::chrono::milliseconds(waitMs);
    writer.lockDirectory = locks;
    return writer;
}

// Everything below a directory, as relative paths.
[[maybe_unused]] std::vector<std::string> Tree(const std::string& directory)
{
    std::vector<std::string> all;
    for (const auto& f : ListFiles(directory, "*", true, true))
        all.push_back(f.substr(directory.size()));
    std::sort(all.begin(), all.end());
    return all;
}

struct Game {
    test::TempDir dir;
    std::string game = dir / "game/", root = dir / "points/", locks = dir / "locks/";
    Game()
    {
        ForceDirectories(game + "BITMAPS");
        test::WriteBytes(game + "GP3.EXE", Bytes(3000, 1));
    }
};

} // namespace

TEST(InstallationLock, ASecondWriterWaitsThenStopsNamingTheHolder)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFork;
#else
    Game g;
    RestorePoints first(g.root, g.game);
    first.setWriter(Writer("pitwall", 111, 0, g.locks));
    InstallationLock held = first.lock("export");
    EXPECT_FALSE(held.nested());

    // The same run takes it again as a nested hold.
    EXPECT_TRUE(first.lock("restore").nested());

    // Another run waits, then stops: nothing made, the holder named.
    RestorePoints second(g.root, g.game);
    second.setWriter(Writer("pitwall-cli", 222, 300, g.locks));
    const auto start = std::chrono::steady_clock::now();
    try {
        second.create(PointOperation("settings set"), {"GP3.EXE"});
        FAIL() << "the second writer got the lock";
    } catch (const RestorePointError& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find("pitwall (process " + std::to_string(test::ProcessId()) + ", export, since "), std::string::npos)
            << text;
        EXPECT_NE(text.find("nothing was changed"), std::string::npos) << text;
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    EXPECT_TRUE(first.list().empty());

    // The same installation by another spelling is the same lock.
    std::filesystem::create_directory_symlink(g.dir / "game", g.dir / "other-name");
    RestorePoints byLink(g.dir / "points", g.dir / "other-name/");
    byLink.setWriter(Writer("pitwall-cli", 333, 0, g.locks));
    EXPECT_THROW(byLink.lock("apply"), RestorePointError);

    // Released, it is free again; a child process can take it, and while it
    // holds it, this one cannot.
    {
        InstallationLock gone = std::move(held);
    }
    EXPECT_FALSE(second.lock("settings set").nested());
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RestorePoints points(g.root, g.game);
        points.setWriter(Writer("child", 444, 0, g.locks));
        InstallationLock mine = points.lock("apply");
        char c = 1;
        if (::write(ready[1], &c, 1) != 1)
            ::_exit(2);
        ::usleep(400'000);
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    try {
        second.lock("settings set");
        FAIL() << "the child's lock was not seen";
    } catch (const RestorePointError& e) {
        EXPECT_NE(std::string(e.what()).find("child (process " + std::to_string(child) + ", apply"), std::string::npos)
            << e.what();
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    // Its process gone, the lock went with it.
    EXPECT_FALSE(second.lock("settings set").nested());
#endif
}

TEST(InstallationLock, WritersMeetOnTheInstallationWhereverTheirPointsAndLocksLie)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFork;
#else
    Game g;
    // A holder that ended without a word leaves its lines behind: they name
    // nobody once its process is gone.
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RestorePoints points(g.root, g.game);
        points.setWriter(Writer("crashed", 555, 0, g.locks));
        InstallationLock mine = points.lock("apply");
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);

    // The installation read-only, its writers told of other folders for
    // restore points and locks: they still exclude each other.
    ASSERT_EQ(::chmod(g.game.c_str(), 0555), 0);
    RestorePoints first(g.dir / "points-elsewhere/", g.game);
    first.setWriter(Writer("pitwall", 1, 0, g.dir / "locks-elsewhere/"));
    std::optional<InstallationLock> held(first.lock("export"));
    ASSERT_FALSE(held->nested());

    RestorePoints second(g.root, g.game);
    second.setWriter(Writer("pitwall-cli", 2, 200, g.locks));
    try {
        second.create(PointOperation("settings set"), {"GP3.EXE"});
        FAIL() << "the second writer got the lock";
    } catch (const RestorePointError& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find("Another run is writing into " + g.game + ": another process; waited 0 seconds"),
                  std::string::npos)
            << text;
        EXPECT_EQ(text.find("crashed"), std::string::npos) << text;
        EXPECT_NE(text.find("nothing was changed"), std::string::npos) << text;
    }
    EXPECT_TRUE(second.list().empty());
    held.reset();
    EXPECT_NO_THROW(second.create(PointOperation("settings set"), {"GP3.EXE"}));
    ASSERT_EQ(::chmod(g.game.c_str(), 0755), 0);
#endif
}

TEST(RestorePointFolders, PlantedLinksAreRefusedAndNothingBehindThemTouched)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    Game g;
    // A victim's folders, looking like incomplete points and old.
    const std::string victim = g.dir / "victim/";
    ForceDirectories(victim + "photos");
    ForceDirectories(victim + "20200101-000000-000");
    test::WriteText(victim + "photos/a.jpg", "holiday");
    test::WriteText(victim + "20200101-000000-000/thesis.txt", "chapter one");
    Age(victim + "photos", 3600);
    Age(victim + "20200101-000000-000", 3600);
    const auto victimBefore = Tree(victim);

    RestorePoints points(g.root, g.game);
    points.setWriter(Writer("pitwall", 1, 0, g.locks));
    RestorePoint made = points.create(PointOperation("export"), {"GP3.EXE"});
    // Every folder on the way is the user's alone.
    struct stat st {};
    ASSERT_EQ(::lstat(points.directory().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::lstat(g.root.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // The installation's folder replaced by a link to the victim's.
    const std::string folder = points.directory().substr(0, points.directory().size() - 1);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory_symlink(victim, folder);
    RestorePoints next(g.root, g.game);
    next.setWriter(Writer("pitwall", 2, 0, g.locks));
    EXPECT_THROW(next.create(PointOperation("settings set"), {"GP3.EXE"}), RestorePointError);
    next.prune();
    EXPECT_TRUE(next.list().empty());
    EXPECT_EQ(Tree(victim), victimBefore);

    // The root itself a link, or the pitwall folder above it: refused too.
    const std::string linkedRoot = g.dir / "linked-root";
    std::filesystem::create_directory_symlink(victim, linkedRoot);
    RestorePoints viaRoot(linkedRoot, g.game);
    viaRoot.setWriter(Writer("pitwall", 3, 0, g.locks));
    EXPECT_THROW(viaRoot.create(PointOperation("export"), {"GP3.EXE"}), RestorePointError);
    ForceDirectories(g.dir / "data");
    std::filesystem::create_directory_symlink(victim, g.dir / "data/pitwall");
    RestorePoints viaData(DefaultRestorePointRoot([&](const char* name) -> std::optional<std::string> {
                              if (std::string(name) == "XDG_DATA_HOME")
                                  return g.dir / "data";
                              return std::nullopt;
                          }),
                          g.game);
    viaData.setWriter(Writer("pitwall", 4, 0, g.locks));
    EXPECT_THROW(viaData.create(PointOperation("export"), {"GP3.EXE"}), RestorePointError);
    EXPECT_EQ(Tree(victim), victimBefore);
    (void)made;
#endif
}

TEST(RestorePointFolders, WithoutAUserDataDirectoryNoPointIsMadeAndNothingWritten)
{
    auto none = [](const char*) -> std::optional<std::string> { return std::nullopt; };
    EXPECT_EQ(DefaultRestorePointRoot(none), "");
    EXPECT_EQ(DefaultLockDirectory(none), "");
    auto home = [](const char* name) -> std::optional<std::string> {
        return std::string(name) == "HOME" ? std::optional<std::string>("/home/someone") : std::nullopt;
    };
    std::string expected = "/home/someone/.local/share/pitwall/RestorePoints/";
    std::replace(expected.begin() + 13, expected.end(), '/', kPathSeparator);
    EXPECT_EQ(DefaultRestorePointRoot(home), expected);

    Game g;
    GameChangeSet changes(g.game);
    changes.replaceFile("GP3.EXE", Bytes(3000, 2));
    RestorePoints nowhere("", g.game);
    try {
        changes.commit(nowhere, PointOperation("export"));
        FAIL() << "written without a restore point";
    } catch (const RestorePointError& e) {
        EXPECT_NE(std::string(e.what()).find("neither XDG_DATA_HOME nor HOME"), std::string::npos) << e.what();
    }
    EXPECT_EQ(test::ReadBytes(g.game + "GP3.EXE"), Bytes(3000, 1));
}

TEST(RestorePointFolders, PruningSparesThisRunsPointsAndPointsBeingMade)
{
    Game g;
    // Two older runs' points.
    for (std::int64_t run = 1; run <= 2; ++run) {
        RestorePoints older(g.root, g.game, 1);
        older.setWriter(Writer("pitwall", NanosecondsNow(), 0, g.locks));
        older.create(PointOperation("run " + std::to_string(run)), {"GP3.EXE"});
        older.prune();
    }
    RestorePoints points(g.root, g.game, 1);
    points.setWriter(Writer("pitwall", NanosecondsNow(), 0, g.locks));
    // Folders without a manifest: one left an hour ago, one being made by a
    // run that does not know the lock, and one that is not a point at all.
    const std::string dir = points.directory();
    ForceDirectories(dir + "20200101-000000-000");
    ForceDirectories(dir + "20991231-235959-000");
    ForceDirectories(dir + "notes");
    test::WriteText(dir + "20991231-235959-000/file0", "copy in progress");
    Age(dir + "20200101-000000-000", 3600);
    Age(dir + "notes", 3600);

    // This run makes two points (an expansion, then an export): with one
    // point kept, both of its own stay; the older runs' go.
    points.create(PointOperation("art expand"), {"GP3.EXE"});
    points.create(PointOperation("export"), {"GP3.EXE"});
    points.prune();
    auto kept = points.list();
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].operation, "export");
    EXPECT_EQ(kept[1].operation, "art expand");
    EXPECT_FALSE(DirectoryExists(dir + "20200101-000000-000"));
    EXPECT_TRUE(FileExists(dir + "20991231-235959-000/file0"));
    EXPECT_TRUE(DirectoryExists(dir + "notes"));
}

TEST(Leftovers, StaleTemporariesOfOursGoAndEverythingElseStays)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    Game g;
    const std::string outside = g.dir / "outside.txt";
    test::WriteText(outside, "not ours");
    const std::vector<std::string> stale = {g.game + ".GP3.EXE.pitwall-0123456789abcdef",
                                            g.game + "BITMAPS/GP3ART5.BIN.NEW",
                                            g.game + "BITMAPS/.GP3ART5.BIN.pitwall-00000000deadbeef"};
    const std::vector<std::string> kept = {g.game + ".F1GSTATE.SAV.pitwall-fedcba9876543210", // fresh
                                           g.game + ".notes.pitwall-backup",                  // not our pattern
                                           g.game + "BITMAPS/GP3ART5.BIN.OLD",
                                           g.game + "GP3.EXE.pitwall-0123456789abcdef"};
    for (const auto& f : stale)
        test::WriteText(f, "left");
    for (const auto& f : kept)
        test::WriteText(f, "keep");
    // A link named like a temporary of ours, to a file outside.
    const std::string link = g.game + ".LINK.pitwall-aaaaaaaaaaaaaaaa";
    std::filesystem::create_symlink(outside, link);
    for (const auto& f : stale)
        Age(f, 3600);
    for (std::size_t i = 1; i < kept.size(); ++i)
        Age(kept[i], 3600);
    Age(link, 3600);

    EXPECT_TRUE(IsLeftoverName(".GP3.EXE.pitwall-0123456789abcdef"));
    EXPECT_FALSE(IsLeftoverName(".GP3.EXE.pitwall-0123456789ABCDEF0"));
    auto removed = RemoveStaleLeftovers(g.game);
    EXPECT_EQ(removed.size(), stale.size());
    for (const auto& f : stale)
        EXPECT_FALSE(FileExists(f)) << f;
    for (const auto& f : kept)
        EXPECT_TRUE(FileExists(f)) << f;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::ReadText(outside), "not ours");

    // A write into the installation clears them first, under its lock.
    test::WriteText(stale[0], "left again");
    Age(stale[0], 3600);
    GameChangeSet changes(g.game);
    changes.replaceFile("GP3.EXE", Bytes(3000, 2));
    RestorePoints points(g.root, g.game);
    points.setWriter(Writer("pitwall", 5, 0, g.locks));
    ASSERT_TRUE(changes.commit(points, PointOperation("export")).ok());
    EXPECT_FALSE(FileExists(stale[0]));
    EXPECT_TRUE(FileExists(kept[0]));
#endif
}

TEST(WorkingFolders, OnlyFoldersOfEndedProcessesGo)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFork;
#else
    test::TempDir dir;
    const std::string tmp = dir.path();
    // A process that has ended.
    pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(gone, &status, 0);

    auto folder = [&](const std::string& name, std::optional<long> pid) {
        CreatePrivateDirectory(tmp + name);
        test::WriteText(tmp + name + "/member.bin", "unpacked");
        if (pid)
            test::WriteText(tmp + name + "/pitwall-process", std::to_string(*pid) + "\n");
    };
    folder("pitwall-cli-dead01", gone);
    folder("pitwall-cli-live01", test::ProcessId());
    folder("pitwall-cli-fresh1", std::nullopt);
    folder("pitwall-cli-old001", std::nullopt);
    Age(tmp + "pitwall-cli-old001", 2 * 24 * 3600);
    folder("pitwall-gui-dead01", gone);
    // A link named like a working folder, to someone's folder.
    ForceDirectories(tmp + "victim");
    test::WriteText(tmp + "victim/pitwall-process", std::to_string(gone));
    std::filesystem::create_directory_symlink(tmp + "victim", tmp + "pitwall-cli-link01");

    auto removed = RemoveAbandonedWorkingFolders(tmp, "pitwall-cli-");
    EXPECT_EQ(removed.size(), 2u);
    EXPECT_FALSE(DirectoryExists(tmp + "pitwall-cli-dead01"));
    EXPECT_FALSE(DirectoryExists(tmp + "pitwall-cli-old001"));
    EXPECT_TRUE(FileExists(tmp + "pitwall-cli-live01/member.bin"));
    EXPECT_TRUE(FileExists(tmp + "pitwall-cli-fresh1/member.bin"));
    EXPECT_TRUE(DirectoryExists(tmp + "pitwall-gui-dead01"));
    EXPECT_TRUE(FileExists(tmp + "victim/pitwall-process"));

    // A folder marked by this process names it.
    CreatePrivateDirectory(tmp + "pitwall-cli-mine01");
    MarkWorkingFolder(tmp + "pitwall-cli-mine01");
    EXPECT_EQ(test::ReadText(tmp + "pitwall-cli-mine01/pitwall-process"), std::to_string(test::ProcessId()) + "\n");
#endif
}
