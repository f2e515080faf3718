// Commands writing into one installation at the same time, restore points
// without a data directory or behind a planted link, and what killed runs
// leave behind: one writer waits for the other or stops naming it, nothing
// is written without a point in a folder of the user's own, and leftovers go.

#include "CliRunner.h"
#include "TestSupport.h"

#include "base/FileHash.h"
#include "base/FileUtils.h"
#include "transfer/RestorePoints.h"
#include "transfer/SavegameChecksum.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <optional>

#ifndef _WIN32
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

// Sets (or, with nullopt, unsets) environment variables for one test.
class ScopedEnvironment {
public:
    void set(const char* name, std::optional<std::string> value)
    {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value)
            test::SetEnvironment(name, value->c_str());
        else
            test::UnsetEnvironment(name);
    }
    ~ScopedEnvironment()
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                test::SetEnvironment(name.c_str(), value->c_str());
            else
                test::UnsetEnvironment(name.c_str());
        }
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

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

std::vector<std::string> Tree(const std::string& directory)
{
    std::vector<std::string> all;
    for (const auto& f : ListFiles(directory, "*", true, true))
        if (f.size() > directory.size())
            all.push_back(f.substr(directory.size()));
    std::sort(all.begin(), all.end());
    return all;
}

#ifndef _WIN32
pid_t StartCli(const std::vector<std::string>& args)
{
    pid_t child = ::fork();
    if (child == 0) {
        std::string cli = PITWALL_CLI;
        std::vector<const char*> argv{cli.c_str()};
        for (const auto& a : args)
            argv.push_back(a.c_str());
        argv.push_back(nullptr);
        ::execv(cli.c_str(), const_cast<char* const*>(argv.data()));
        ::_exit(127);
    }
    return child;
}

int WaitFor(pid_t child)
{
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

// F1GSTATE.SAV's byte of the quick-race laps.
constexpr std::size_t kQuickRaceLaps = 0x6D8;

struct Game {
    test::TempDir dir;
    std::string game = dir / "game/", points = dir / "points/";
    std::string save = game + "F1GSTATE.SAV";
    Game() { test::MakeDemo(game, 2, 1); }
    test::CliRun setLaps(int laps, std::vector<std::string> more = {})
    {
        std::vector<std::string> args = {"settings", "set", "--game", game, "quick-race-laps=" + std::to_string(laps),
                                         "--quiet"};
        args.insert(args.end(), more.begin(), more.end());
        return test::RunCommand(args);
    }
};

} // namespace

TEST(WriterSafetyCli, ASecondWriterWaitsOrStopsNamingTheFirst)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFork;
#else
    Game g;
    const auto saveBefore = test::ReadBytes(g.save);
    RestorePoints other(g.points, g.game);
    WriterInfo writer;
    writer.program = "pitwall";
    writer.runStarted = 1;
    other.setWriter(writer);
    std::optional<InstallationLock> held(other.lock("apply"));

    // While another run writes, a write and a restore stop without writing.
    auto r = g.setLaps(5, {"--restore-dir", g.points, "--test-lock-wait-ms", "300"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("pitwall (process " + std::to_string(test::ProcessId()) + ", apply, since "), std::string::npos)
        << r.err;
    EXPECT_EQ(test::ReadBytes(g.save), saveBefore);
    r = test::RunCommand({"restore", "--game", g.game, "--restore-dir", g.points, "--test-lock-wait-ms", "300"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("is writing into"), std::string::npos) << r.err;

    // Two commands at once, both waiting for the lock to go: one writes
    // through a complete restore point. The other read the savegame before
    // that write, so it writes nothing rather than put the old savegame back
    // (had it read the file only after, it writes after the first).
    const pid_t five =
        StartCli({"settings", "set", "--game", g.game, "quick-race-laps=9", "--restore-dir", g.points, "--quiet"});
    const pid_t seven =
        StartCli({"settings", "set", "--game", g.game, "quick-race-laps=3", "--restore-dir", g.points, "--quiet"});
    ::usleep(300'000);
    held.reset();
    const int fiveCode = WaitFor(five), sevenCode = WaitFor(seven);
    EXPECT_TRUE(fiveCode == 0 || sevenCode == 0) << fiveCode << " " << sevenCode;
    EXPECT_TRUE((fiveCode == 0 || fiveCode == 1) && (sevenCode == 0 || sevenCode == 1)) << fiveCode << " " << sevenCode;
    const std::size_t wrote = (fiveCode == 0 ? 1u : 0u) + (sevenCode == 0 ? 1u : 0u);

    // The installation is what one of them alone would have made.
    std::map<int, std::vector<std::uint8_t>> alone;
    for (int laps : {9, 3}) {
        test::TempDir copy;
        test::MakeDemo(copy / "game", 2, 1);
        ASSERT_EQ(
            test::RunCommand({"settings", "set", "--game", copy / "game", "quick-race-laps=" + std::to_string(laps),
                              "--restore-dir", copy / "points", "--quiet"})
                .code,
            0);
        alone[laps] = test::ReadBytes(copy / "game/F1GSTATE.SAV");
    }
    const auto save = test::ReadBytes(g.save);
    ASSERT_GT(save.size(), kQuickRaceLaps);
    if (wrote == 1)
        EXPECT_TRUE(save == alone.at(fiveCode == 0 ? 9 : 3));
    else
        EXPECT_TRUE(save == alone.at(9) || save == alone.at(3));
    EXPECT_EQ(StoredSavegameChecksum(save), ComputeSavegameChecksum(save));

    const auto made = RestorePoints(g.points, g.game).list();
    ASSERT_EQ(made.size(), wrote);
    for (const auto& point : made) {
        for (std::size_t i = 0; i < point.files.size(); ++i) {
            if (point.files[i].existed) {
                EXPECT_EQ(Sha256OfFile(point.directory + "file" + std::to_string(i)), point.files[i].sha256)
                    << point.id << " " << point.files[i].relativePath;
            }
        }
    }
    // The oldest point holds the installation as it was before both (going
    // back past a later one needs --yes).
    ASSERT_EQ(
        test::RunCommand({"restore", made.back().id, "--game", g.game, "--restore-dir", g.points, "--quiet", "--yes"})
            .code,
        0);
    EXPECT_EQ(test::ReadBytes(g.save), saveBefore);
#endif
}

TEST(WriterSafetyCli, WritersWithOtherDataFoldersStillWaitForEachOther)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFork;
#else
    Game g;
    const auto saveBefore = test::ReadBytes(g.save);
    const std::string homeA = g.dir / "home-a/", homeB = g.dir / "home-b/";
    const std::string pointsB = homeB + ".local/share/pitwall/RestorePoints/";
    RestorePoints other(homeA + "points/", g.game);
    WriterInfo writer;
    writer.runStarted = 1;
    writer.lockDirectory = homeA + "locks/";
    other.setWriter(writer);
    std::optional<InstallationLock> held(other.lock("apply"));

    ScopedEnvironment env;
    env.set("XDG_DATA_HOME", std::nullopt);
    env.set("HOME", homeB);
    // Another home, and no home with a folder named for restore points: both
    // see the run that holds the installation and write nothing.
    auto r = g.setLaps(5, {"--test-lock-wait-ms", "300"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Another run is writing into"), std::string::npos) << r.err;
    env.set("HOME", std::nullopt);
    r = g.setLaps(5, {"--restore-dir", g.points, "--test-lock-wait-ms", "300"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Another run is writing into"), std::string::npos) << r.err;
    EXPECT_EQ(test::ReadBytes(g.save), saveBefore);
    EXPECT_TRUE(RestorePoints(g.points, g.game).list().empty());
    EXPECT_TRUE(RestorePoints(pointsB, g.game).list().empty());

    // Both waiting, each with its own folders: they still wait for each
    // other, so exactly one point holds the savegame as it was at first (the
    // other run wrote after it, or nothing, having read the savegame before
    // the first wrote).
    const pid_t nine =
        StartCli({"settings", "set", "--game", g.game, "quick-race-laps=9", "--restore-dir", g.points, "--quiet"});
    env.set("HOME", homeB);
    const pid_t three = StartCli({"settings", "set", "--game", g.game, "quick-race-laps=3", "--quiet"});
    ::usleep(300'000);
    held.reset();
    const int nineCode = WaitFor(nine), threeCode = WaitFor(three);
    EXPECT_TRUE(nineCode == 0 || threeCode == 0) << nineCode << " " << threeCode;
    int first = 0;
    for (const std::string& root : {g.points, pointsB}) {
        const auto points = RestorePoints(root, g.game).list();
        ASSERT_EQ(points.size(), (root == g.points ? nineCode : threeCode) == 0 ? 1u : 0u) << root;
        if (points.empty())
            continue;
        for (std::size_t i = 0; i < points[0].files.size(); ++i)
            if (points[0].files[i].relativePath == "F1GSTATE.SAV")
                first += test::ReadBytes(points[0].directory + "file" + std::to_string(i)) == saveBefore ? 1 : 0;
    }
    EXPECT_EQ(first, 1);
#endif
}

TEST(WriterSafetyCli, WithoutAUserDataDirectoryNothingIsWrittenUnlessARestoreFolderIsNamed)
{
    Game g;
    test::TempDir tmp;
    const auto saveBefore = test::ReadBytes(g.save);
    {
        ScopedEnvironment env;
        env.set("XDG_DATA_HOME", std::nullopt);
        env.set("HOME", std::nullopt);
        env.set("TMPDIR", tmp.path());
#ifdef _WIN32
        env.set("LOCALAPPDATA", std::nullopt);
        env.set("TMP", tmp.path());
        env.set("TEMP", tmp.path());
#endif
        auto r = g.setLaps(5);
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find("neither XDG_DATA_HOME nor HOME"), std::string::npos) << r.err;
        EXPECT_EQ(test::ReadBytes(g.save), saveBefore);
        // Nothing of the program's is left in the shared temporary folder.
        EXPECT_TRUE(Tree(tmp.path()).empty()) << (Tree(tmp.path()).empty() ? "" : Tree(tmp.path())[0]);

        r = g.setLaps(5, {"--restore-dir", g.points});
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(test::ReadBytes(g.save)[kQuickRaceLaps], 5);
        EXPECT_EQ(RestorePoints(g.points, g.game).list().size(), 1u);
        EXPECT_TRUE(Tree(tmp.path()).empty()) << (Tree(tmp.path()).empty() ? "" : Tree(tmp.path())[0]);
    }
}

TEST(WriterSafetyCli, ALinkPlantedForTheInstallationsPointsIsRefused)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    Game g;
    ASSERT_EQ(g.setLaps(5, {"--restore-dir", g.points}).code, 0);
    const auto saveBefore = test::ReadBytes(g.save);
    // Someone replaces the installation's folder of points by a link to a
    // victim's folder of (old, manifest-less) folders.
    const std::string victim = g.dir / "victim/";
    ForceDirectories(victim + "photos");
    ForceDirectories(victim + "thesis");
    test::WriteText(victim + "photos/a.jpg", "holiday");
    test::WriteText(victim + "thesis/t.txt", "chapter one");
    Age(victim + "photos", 3600);
    Age(victim + "thesis", 3600);
    const auto victimBefore = Tree(victim);
    std::vector<std::string> folders;
    for (const auto& e : std::filesystem::directory_iterator(g.points))
        if (e.is_directory())
            folders.push_back(e.path().string());
    ASSERT_EQ(folders.size(), 1u);
    std::filesystem::remove_all(folders[0]);
    std::filesystem::create_directory_symlink(victim, folders[0]);

    auto r = g.setLaps(7, {"--restore-dir", g.points});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("is a link"), std::string::npos) << r.err;
    EXPECT_EQ(Tree(victim), victimBefore);
    EXPECT_EQ(test::ReadBytes(g.save), saveBefore);
#endif
}

TEST(WriterSafetyCli, LeftoversOfKilledRunsGoWithTheNextWrite)
{
    Game g;
    const std::string stale = g.game + ".F1GSTATE.SAV.pitwall-0123456789abcdef";
    const std::string bank = g.game + "BITMAPS/GP3ART5.BIN.NEW";
    const std::string fresh = g.game + ".GP3.EXE.pitwall-fedcba9876543210";
    const std::string foreign = g.game + "BITMAPS/GP3ART5.BIN.BAK";
    // Staged by a writer under the lock: its run is gone, however recent.
    const std::string staged = g.game + "LDATA/.ENGLISH.STR.pitwall-staged-00112233445566ff";
    const std::string notStaged = g.game + "LDATA/.ENGLISH.STR.pitwall-staged-0011";
    for (const auto& f : {stale, bank, fresh, foreign, staged, notStaged})
        test::WriteText(f, "left behind");
    Age(stale, 3600);
    Age(bank, 3600);
    Age(foreign, 3600);

    ASSERT_EQ(g.setLaps(5, {"--restore-dir", g.points}).code, 0);
    EXPECT_FALSE(FileExists(stale));
    EXPECT_FALSE(FileExists(bank));
    EXPECT_TRUE(FileExists(fresh));
    EXPECT_TRUE(FileExists(foreign));
    EXPECT_FALSE(FileExists(staged));
    EXPECT_TRUE(FileExists(notStaged));
}

TEST(WriterSafetyCli, WorkingFoldersOfKilledCommandsGoAtTheNextStart)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFork;
#else
    Game g;
    test::TempDir tmp;
    ScopedEnvironment env;
    env.set("TMPDIR", tmp.path());
    // A command killed half-way leaves its working folder.
    test::MakeDemo(g.dir / "other", 2, 2);
    ASSERT_EQ(
        test::RunCommand({"import", "--game", g.dir / "other", "--items", "1", "-o", g.dir / "one.GMS", "--quiet"})
            .code,
        0);
    const pid_t killed = StartCli({"apply", g.dir / "one.GMS", "--game", g.game, "--restore-dir", g.points, "--quiet",
                                   "--test-kill-after-files", "1"});
    int status = 0;
    ASSERT_EQ(::waitpid(killed, &status, 0), killed);
    ASSERT_TRUE(WIFSIGNALED(status));
    std::vector<std::string> left = Tree(tmp.path());
    ASSERT_FALSE(left.empty());
    // One of a command still running stays.
    CreatePrivateDirectory(tmp / "pitwall-cli-live01");
    test::WriteText(tmp / "pitwall-cli-live01/pitwall-process", std::to_string(test::ProcessId()) + "\n");

    ASSERT_EQ(test::RunCommand({"settings", "show", "--game", g.game, "--quiet"}).code, 0);
    EXPECT_EQ(Tree(tmp.path()),
              (std::vector<std::string>{"pitwall-cli-live01/", "pitwall-cli-live01/pitwall-process"}));
#endif
}
