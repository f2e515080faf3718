// Writing game files so that nothing is ever left half written: the safe
// replacement, game files read without being touched, restore points and the
// change sets that runs write through.

#include "TestSupport.h"

#include "base/FileHash.h"
#include "base/FileUtils.h"
#include "base/SafeWrite.h"
#include "transfer/GameChangeSet.h"
#include "transfer/GameFile.h"
#include "transfer/PointChanges.h"
#include "transfer/RestorePoints.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace pitwall;

namespace {

std::vector<std::uint8_t> Bytes(std::size_t size, std::uint8_t seed)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
    return bytes;
}

#ifndef _WIN32
unsigned Mode(const std::string& file)
{
    struct stat st {};
    ::stat(file.c_str(), &st);
    return st.st_mode & 0777;
}
#endif

// Entries of a directory that are not in `expected` (temporary leftovers).
std::vector<std::string> Leftovers(const std::string& directory, std::vector<std::string> expected)
{
    std::vector<std::string> extra;
    for (const auto& f : ListFiles(directory, "*", true, false))
        if (std::find(expected.begin(), expected.end(), FileNameOf(f)) == expected.end())
            extra.push_back(f);
    return extra;
}

} // namespace

TEST(SafeWrite, AFailedReplacementLeavesTheOldFileAndNoLeftovers)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimit;
#else
    test::TempDir dir;
    std::string file = dir / "ENGLISH.str";
    auto old = Bytes(10'000, 1);
    test::WriteBytes(file, old);
    ::chmod(file.c_str(), 0444); // read-only, as game files often are
    {
        test::FileSizeLimit full(4096);
        try {
            WriteWholeFile(file, Bytes(20'000, 2));
            FAIL() << "the write should not fit";
        } catch (const FileWriteError& e) {
            EXPECT_EQ(e.file(), file);
            EXPECT_NE(std::string(e.what()).find("File too large"), std::string::npos) << e.what();
        }
        EXPECT_THROW(PatchFile(file, 9000, Bytes(10, 3)), FileWriteError); // a patch rewrites the whole file
    }
    EXPECT_EQ(test::ReadBytes(file), old);
    EXPECT_EQ(Mode(file), 0444u);
    EXPECT_TRUE(Leftovers(dir.path(), {"ENGLISH.str"}).empty());

    // A replacement that succeeds keeps the permissions, made writable.
    ::chmod(file.c_str(), 0640);
    ReplaceFileSafely(file, Bytes(5, 4));
    EXPECT_EQ(test::ReadBytes(file), Bytes(5, 4));
    EXPECT_EQ(Mode(file), 0640u);
    ::chmod(file.c_str(), 0444);
    PatchFile(file, 1, Bytes(2, 9));
    EXPECT_EQ(Mode(file), 0644u);
    EXPECT_TRUE(Leftovers(dir.path(), {"ENGLISH.str"}).empty());
#endif
}

// A link asked to be written through stays a link (a PITWALL.INI linked
// from a folder of the user's own); a game file's link is replaced, as its
// restore point keeps it. A pipe or a folder is never replaced by a plain
// file.
TEST(SafeWrite, ALinkIsWrittenThroughAndNoPlainFileTakesAPipesPlace)
{
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links and pipes need a POSIX system";
#else
    namespace fs = std::filesystem;
    test::TempDir dir;
    fs::create_directory(dir / "mine");
    const std::string real = dir / "mine/PITWALL.INI", link = dir / "PITWALL.INI";
    test::WriteBytes(real, Bytes(3, 1));
    fs::create_symlink("mine/PITWALL.INI", link);
    ReplaceFileSafely(link, Bytes(4, 2), LinkTarget::WriteThrough);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadBytes(real), Bytes(4, 2));
    EXPECT_TRUE(Leftovers(dir / "mine", {"PITWALL.INI"}).empty());

    // A link to a file not there yet makes that file.
    fs::create_symlink("mine/new.wav", dir / "out.wav");
    ReplaceFileSafely(dir / "out.wav", Bytes(2, 5), LinkTarget::WriteThrough);
    EXPECT_TRUE(fs::is_symlink(dir / "out.wav"));
    EXPECT_EQ(test::ReadBytes(dir / "mine/new.wav"), Bytes(2, 5));

    // Replaced, the link goes and the file it named keeps its content.
    ReplaceFileSafely(link, Bytes(1, 7));
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadBytes(real), Bytes(4, 2));

    const std::string pipe = dir / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& target : {pipe, dir / "mine"}) {
        EXPECT_THROW(ReplaceFileSafely(target, Bytes(1, 1)), FileWriteError) << target;
        StagedFiles staged;
        EXPECT_THROW(staged.stage(target, Bytes(1, 1)), FileWriteError) << target;
    }
    EXPECT_EQ(fs::status(pipe).type(), fs::file_type::fifo);
    fs::create_symlink("loop", dir / "loop");
    EXPECT_THROW(ReplaceFileSafely(dir / "loop", Bytes(1, 1), LinkTarget::WriteThrough), FileWriteError);
#endif
}

TEST(SafeWrite, StagedFilesTakeTheirNamesOnlyAfterAllAreWrittenAndLeaveNothingBehind)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimit;
#else
    test::TempDir dir;
    const std::string a = dir / "A.JAM", b = dir / "B.JAM", c = dir / "C.JAM";
    test::WriteBytes(a, Bytes(100, 1));
    test::WriteBytes(b, Bytes(100, 2));
    ::chmod(b.c_str(), 0444);
    {
        StagedFiles staged;
        EXPECT_EQ(staged.stage(a, Bytes(50, 3)), 0u);
        EXPECT_EQ(staged.stage(b, Bytes(60, 4)), 1u);
        EXPECT_EQ(staged.stage(c, Bytes(70, 5)), 2u);
        // Staged is not written: every target is as it was.
        EXPECT_EQ(test::ReadBytes(a), Bytes(100, 1));
        EXPECT_FALSE(FileExists(c));
        EXPECT_EQ(Leftovers(dir.path(), {"A.JAM", "B.JAM"}).size(), 3u);
        EXPECT_THROW(staged.takeName(0), FileWriteError); // not on the disk yet
        staged.syncAll();
        staged.takeName(0);
        staged.takeName(1);
        staged.syncDirectories();
        // Dropped with C still staged, as a run that stops half-way.
    }
    EXPECT_EQ(test::ReadBytes(a), Bytes(50, 3));
    EXPECT_EQ(test::ReadBytes(b), Bytes(60, 4));
    EXPECT_EQ(Mode(b), 0644u);
    EXPECT_FALSE(FileExists(c));
    EXPECT_TRUE(Leftovers(dir.path(), {"A.JAM", "B.JAM"}).empty());

    // A file that does not fit fails its staging, naming the game's file.
    {
        StagedFiles staged;
        staged.stage(a, Bytes(10, 6));
        test::FileSizeLimit full(4096);
        try {
            staged.stage(b, Bytes(20'000, 7));
            FAIL() << "the write should not fit";
        } catch (const FileWriteError& e) {
            EXPECT_EQ(e.file(), b);
        }
    }
    EXPECT_EQ(test::ReadBytes(a), Bytes(50, 3));
    EXPECT_EQ(test::ReadBytes(b), Bytes(60, 4));
    EXPECT_TRUE(Leftovers(dir.path(), {"A.JAM", "B.JAM"}).empty());
#endif
}

TEST(SafeWrite, StagedFilesKeepTheCallerAliveInPiecesAndStillWriteWhole)
{
    test::TempDir dir;
    const auto caller = std::this_thread::get_id();
    int calls = 0;
    bool elsewhere = false;
    StagedFiles staged;
    staged.setKeepAlive([&] {
        ++calls;
        elsewhere = elsewhere || std::this_thread::get_id() != caller;
    });
    // A large file goes in 4 MB pieces; more files than syncs in flight are
    // synced by helpers while the caller waits.
    const auto large = Bytes((10u << 20) + 3, 1);
    staged.stage(dir / "GP3ART5.BIN", large);
    EXPECT_GE(calls, 3);
    std::vector<std::string> names;
    for (int i = 0; i < 12; ++i) {
        names.push_back("CAR" + std::to_string(i) + ".JAM");
        staged.stage(dir / names.back(), Bytes(1000, static_cast<std::uint8_t>(i)));
    }
    staged.syncAll();
    for (std::size_t i = 0; i < staged.size(); ++i)
        staged.takeName(i);
    staged.syncDirectories();
    EXPECT_FALSE(elsewhere);
    EXPECT_EQ(test::ReadBytes(dir / "GP3ART5.BIN"), large);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(test::ReadBytes(dir / names[static_cast<std::size_t>(i)]), Bytes(1000, static_cast<std::uint8_t>(i)));
    names.push_back("GP3ART5.BIN");
    EXPECT_TRUE(Leftovers(dir.path(), names).empty());

#ifndef _WIN32
    // A piece that does not fit fails the file as a whole.
    StagedFiles failing;
    failing.setKeepAlive([] {});
    test::FileSizeLimit full(6u << 20);
    EXPECT_THROW(failing.stage(dir / "GP3ART5.BIN", Bytes(10u << 20, 2)), FileWriteError);
    failing.discard();
    EXPECT_EQ(test::ReadBytes(dir / "GP3ART5.BIN"), large);
    EXPECT_TRUE(Leftovers(dir.path(), names).empty());
#endif
}

TEST(SafeWrite, GameFilesThatAreOnlyReadStayUntouched)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoPosixModes;
#else
    test::TempDir dir;
    std::string file = dir / "GP3.EXE";
    test::WriteBytes(file, Bytes(1000, 5));
    ::chmod(file.c_str(), 0444);
    {
        GameFile exe(file);
        EXPECT_EQ(exe.readU8(10), Bytes(1000, 5)[10]);
        exe.writeU16(10, 0xBEEF); // in memory only
        EXPECT_TRUE(exe.changed());
        EXPECT_THROW(exe.write(999, Bytes(2, 0)), GameFileError);
    }
    EXPECT_EQ(test::ReadBytes(file), Bytes(1000, 5));
    EXPECT_EQ(Mode(file), 0444u);
#endif
}

TEST(RestorePoints, MakeListRestoreAndPrune)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimit;
#else
    test::TempDir dir;
    std::string game = dir / "game/", root = dir / "points/";
    ForceDirectories(game + "LDATA");
    test::WriteBytes(game + "GP3.EXE", Bytes(3000, 1));
    test::WriteBytes(game + "LDATA/ENGLISH.str", Bytes(500, 2));
    RestorePoints points(root, game, 3);

    RestorePoint point = points.create(PointOperation("export"), {"GP3.EXE", "LDATA/ENGLISH.str", "LDATA/NEW.str"});
    ASSERT_EQ(point.files.size(), 3u);
    EXPECT_FALSE(point.files[2].existed);
    EXPECT_EQ(point.files[0].sha256, Sha256Hex(Bytes(3000, 1)));
    EXPECT_EQ(Mode(point.directory.substr(0, point.directory.size() - 1)), 0700u);

    // The run changes, creates; restoring brings back exactly what was.
    test::WriteBytes(game + "GP3.EXE", Bytes(3000, 9));
    test::WriteBytes(game + "LDATA/NEW.str", Bytes(10, 9));
    ASSERT_EQ(points.list().size(), 1u);
    EXPECT_EQ(points.list()[0].operation, "export");
    RestoreReport report = points.restore(points.list()[0]);
    EXPECT_TRUE(report.ok());
    EXPECT_EQ(test::ReadBytes(game + "GP3.EXE"), Bytes(3000, 1));
    EXPECT_EQ(test::ReadBytes(game + "LDATA/ENGLISH.str"), Bytes(500, 2));
    EXPECT_FALSE(FileExists(game + "LDATA/NEW.str"));

    // A copy that was tampered with is not used.
    test::WriteBytes(point.directory + "file0", Bytes(3000, 3));
    test::WriteBytes(game + "GP3.EXE", Bytes(3000, 9));
    report = points.restore(point);
    ASSERT_EQ(report.failed.size(), 1u);
    EXPECT_EQ(test::ReadBytes(game + "GP3.EXE"), Bytes(3000, 9));

    // Only the newest three are kept (each made by a run of its own); a
    // folder without a manifest never counts.
    for (int i = 0; i < 4; ++i) {
        RestorePoints run(root, game, 3);
        run.create(PointOperation("run " + std::to_string(i)), {"GP3.EXE"});
        run.prune();
    }
    auto kept = points.list();
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[0].operation, "run 3");
    EXPECT_EQ(kept[2].operation, "run 1");

    // No room: refused before anything is copied, nothing left behind.
    points.setFreeSpace([](const std::string&) { return std::uint64_t{1000}; });
    EXPECT_THROW(points.create(PointOperation("big"), {"GP3.EXE"}), RestorePointError);
    EXPECT_EQ(points.list().size(), 3u);
    std::size_t folders = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(points.directory()))
        ++folders;
    EXPECT_EQ(folders, 3u);

    // A copy the disk does not take whole: refused, and the half-made point
    // is gone with its copies.
    points.setFreeSpace([](const std::string&) { return std::uint64_t{1} << 40; });
    {
        test::FileSizeLimit full(2000);
        EXPECT_THROW(points.create(PointOperation("cut"), {"LDATA/ENGLISH.str", "GP3.EXE"}), RestorePointError);
    }
    EXPECT_EQ(points.list().size(), 3u);
    folders = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(points.directory()))
        ++folders;
    EXPECT_EQ(folders, 3u);
#endif
}

TEST(GameChangeSet, ChangesAreWhatDiffersByItemAndAFailedWriteIsPutBack)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimit;
#else
    test::TempDir dir;
    std::string game = dir / "game/";
    ForceDirectories(game + "GP3JAMS");
    auto exe = Bytes(4096, 1), jam = Bytes(1000, 2);
    test::WriteBytes(game + "GP3.EXE", exe);
    test::WriteBytes(game + "GP3JAMS/A.JAM", jam);

    GameChangeSet changes(game);
    GameFile& file = changes.patchFile("gp3.exe");
    changes.setItem(1);
    file.write(100, std::vector<std::uint8_t>{exe[100], exe[101], 0xAA, exe[103]}); // one byte really differs
    changes.setItem(2);
    file.writeU8(3000, static_cast<std::uint8_t>(exe[3000] + 1));
    file.writeU8(200, exe[200]);                // written, but the same
    changes.replaceFile("GP3JAMS\\A.JAM", jam); // the same content: no change
    changes.replaceFile("GP3JAMS\\B.JAM", Bytes(10, 3));

    auto list = changes.changes();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].relativePath, "GP3.EXE");
    ASSERT_EQ(list[0].items.size(), 2u);
    EXPECT_EQ(list[0].items[0].item, 1);
    ASSERT_EQ(list[0].items[0].ranges.size(), 1u);
    EXPECT_EQ(list[0].items[0].ranges[0].offset, 102u);
    EXPECT_EQ(list[0].items[0].ranges[0].length, 1u);
    EXPECT_EQ(list[0].items[1].ranges[0].offset, 3000u);
    EXPECT_TRUE(list[1].created);
    EXPECT_EQ(list[1].relativePath, "GP3JAMS/B.JAM");

    // The new JAM cannot be written (the disk is full for it): every file is
    // written before any takes its name, so nothing was changed.
    RestorePoints points(dir / "points", game);
    changes.replaceFile("GP3JAMS\\B.JAM", Bytes(100'000, 3));
    CommitResult result;
    {
        test::FileSizeLimit full(50'000);
        result = changes.commit(points, PointOperation("test"));
    }
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.rolledBack);
    EXPECT_TRUE(result.written.empty());
    EXPECT_EQ(test::ReadBytes(game + "GP3.EXE"), exe);
    EXPECT_FALSE(FileExists(game + "GP3JAMS/B.JAM"));
    EXPECT_TRUE(Leftovers(game, {"GP3.EXE", "A.JAM"}).empty());
    EXPECT_TRUE(points.list().empty()); // nor is a restore point kept for it

    // A folder where the JAM goes is no file to replace: nothing is written.
    changes.patchFile("GP3.EXE").writeU8(3000, static_cast<std::uint8_t>(exe[3000] + 1));
    changes.replaceFile("GP3JAMS\\B.JAM", Bytes(10, 3));
    ASSERT_EQ(changes.changes().size(), 2u);
    ForceDirectories(game + "GP3JAMS/B.JAM/inside");
    result = changes.commit(points, PointOperation("test"));
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.written.empty());
    EXPECT_EQ(test::ReadBytes(game + "GP3.EXE"), exe);
    std::filesystem::remove_all(game + "GP3JAMS/B.JAM");

    // The JAM staged but its name taken by a folder meanwhile: GP3.EXE,
    // which took its new content first, is put back from the restore point.
    struct FolderInTheWay : CommitObserver {
        std::string folder;
        void fileWritten(const std::string& relativePath, std::size_t, std::size_t) override
        {
            if (relativePath == "GP3.EXE")
                ForceDirectories(folder);
        }
    } inTheWay;
    inTheWay.folder = game + "GP3JAMS/B.JAM/inside";
    changes.patchFile("GP3.EXE").writeU8(3000, static_cast<std::uint8_t>(exe[3000] + 1));
    changes.replaceFile("GP3JAMS\\B.JAM", Bytes(10, 3));
    result = changes.commit(points, PointOperation("test"), &inTheWay);
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.rolledBack);
    EXPECT_EQ(result.written, std::vector<std::string>{"GP3.EXE"});
    EXPECT_EQ(test::ReadBytes(game + "GP3.EXE"), exe);
    EXPECT_TRUE(Leftovers(game, {"GP3.EXE", "A.JAM"}).empty());
#endif
}

// A large file replaced: the restore point is made on a helper while the
// new one is staged, and the caller is called back as the staging goes and
// while it waits for the point, on its own thread only; the point holds the
// old file and the run's other files are written as ever.
TEST(GameChangeSet, ACommitKeepsItsCallerAliveWhileItStagesAndWaitsForTheRestorePoint)
{
    test::TempDir dir;
    std::string game = dir / "game/";
    ForceDirectories(game + "BITMAPS");
    const auto oldBank = Bytes(10u << 20, 1), newBank = Bytes(12u << 20, 2);
    test::WriteBytes(game + "BITMAPS/GP3ART5.BIN", oldBank);
    test::WriteBytes(game + "GP3.EXE", Bytes(4096, 3));

    GameChangeSet changes(game);
    changes.replaceFile("BITMAPS\\GP3ART5.BIN", newBank);
    changes.patchFile("GP3.EXE").writeU8(10, 0xEE);
    RestorePoints points(dir / "points", game);
    const auto caller = std::this_thread::get_id();
    std::atomic<int> calls = 0;
    std::atomic<bool> elsewhere = false, pointWaited = false;
    // The point is made beside the staging; here it holds back until the
    // caller has been called often enough to show that it is kept alive
    // while it waits (never longer than 10 s).
    points.setFreeSpace([&](const std::string&) -> std::uint64_t {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (calls < 8 && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        pointWaited = calls >= 8;
        return std::uint64_t{1} << 40;
    });
    const CommitResult result = changes.commit(points, PointOperation("test"), nullptr, nullptr, [&] {
        ++calls;
        elsewhere = elsewhere || std::this_thread::get_id() != caller;
    });
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_TRUE(pointWaited) << calls << " calls";
    EXPECT_FALSE(elsewhere);
    EXPECT_EQ(test::ReadBytes(game + "BITMAPS/GP3ART5.BIN"), newBank);
    EXPECT_EQ(test::ReadBytes(game + "GP3.EXE")[10], 0xEE);
    const auto made = points.list();
    ASSERT_EQ(made.size(), 1u);
    // Recorded with the system's separator.
    const auto bank = std::find_if(made[0].files.begin(), made[0].files.end(),
                                   [](const RestorePointFile& f) { return FileNameOf(f.relativePath) == "GP3ART5.BIN"; });
    ASSERT_NE(bank, made[0].files.end());
    EXPECT_EQ(points.readCopy(made[0], bank->relativePath), oldBank);
}

// The game saves while an export waits for its confirmation: the run's copy
// of the savegame is older than the file, and writing it would lose the
// save. Nothing is written and no restore point is left; a file the run
// replaces without reading it does not count.
TEST(GameChangeSet, AFileWrittenByAnotherProgramSinceItWasReadIsNotOverwritten)
{
    test::TempDir dir;
    std::string game = dir / "game/";
    ForceDirectories(game + "LDATA");
    test::WriteBytes(game + "F1GSTATE.SAV", Bytes(2000, 1));
    test::WriteBytes(game + "GP3.EXE", Bytes(4096, 3));
    test::WriteBytes(game + "LDATA/ENGLISH.STR", Bytes(100, 4));
    RestorePoints points(dir / "points", game);

    GameChangeSet changes(game);
    changes.patchFile("F1GSTATE.SAV").writeU8(10, 0xEE);
    changes.patchFile("GP3.EXE").writeU8(10, 0xEE);
    const auto saved = Bytes(2100, 9);
    test::WriteBytes(game + "F1GSTATE.SAV", saved); // the game saves
    CommitResult result = changes.commit(points, PointOperation("test"));
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.error.find("F1GSTATE.SAV"), std::string::npos) << result.error;
    EXPECT_TRUE(result.written.empty());
    EXPECT_EQ(test::ReadBytes(game + "F1GSTATE.SAV"), saved);
    EXPECT_EQ(test::ReadBytes(game + "GP3.EXE"), Bytes(4096, 3));
    EXPECT_TRUE(points.list().empty());

    GameChangeSet again(game);
    again.patchFile("GP3.EXE").writeU8(10, 0xEE);
    again.replaceFile("LDATA\\ENGLISH.STR", Bytes(90, 5));
    test::WriteBytes(game + "LDATA/ENGLISH.STR", Bytes(100, 6));
    result = again.commit(points, PointOperation("test"));
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(test::ReadBytes(game + "LDATA/ENGLISH.STR"), Bytes(90, 5));
    EXPECT_EQ(test::ReadBytes(game + "GP3.EXE")[10], 0xEE);

    // A whole content worked out from a file read earlier (a sound put into
    // the bank) is not written over what another run wrote since.
    GameChangeSet fromRead(game);
    const FileStamp read = StampOf(game + "LDATA/ENGLISH.STR");
    fromRead.replaceFile("LDATA\\ENGLISH.STR", Bytes(90, 7), read);
    test::WriteBytes(game + "LDATA/ENGLISH.STR", Bytes(90, 8));
    result = fromRead.commit(points, PointOperation("test"));
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(test::ReadBytes(game + "LDATA/ENGLISH.STR"), Bytes(90, 8));
}

// Another run writes while this one waits between working out its changes
// and writing them (an export's confirmation): the list is made again once
// the installation is held, so a file found equal before is still written
// and the restore point records the ranges the run really changes.
TEST(GameChangeSet, FilesWrittenByAnotherRunBeforeTheCommitAreComparedAgain)
{
    test::TempDir dir;
    std::string game = dir / "game/";
    ForceDirectories(game);
    test::WriteBytes(game + "GP3.EXE", Bytes(4096, 3));
    test::WriteBytes(game + "LOADING1.BMP", Bytes(3000, 1));
    RestorePoints points(dir / "points", game);

    GameChangeSet changes(game);
    changes.replaceFile("LOADING1.BMP", Bytes(3000, 1));
    std::vector<std::uint8_t> ours = Bytes(3000, 1);
    ours[100] = 2;
    changes.replaceFile("GP3.EXE", Bytes(4096, 3));
    changes.replaceFile("LOADING1.BMP", ours);
    const std::vector<FileChange> confirmed = changes.changes();
    ASSERT_EQ(confirmed.size(), 1u);
    ASSERT_EQ(confirmed[0].ranges.size(), 1u);

    std::vector<std::uint8_t> theirs = Bytes(3000, 1);
    theirs[2000] = 9;
    test::WriteBytes(game + "LOADING1.BMP", theirs);
    test::WriteBytes(game + "GP3.EXE", Bytes(4096, 4));
    CommitResult result = changes.commit(points, PointOperation("test"), nullptr, &confirmed);
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(test::ReadBytes(game + "LOADING1.BMP"), ours);
    EXPECT_EQ(test::ReadBytes(game + "GP3.EXE"), Bytes(4096, 3));
    auto recorded = ReadPointChanges(points.list().at(0));
    ASSERT_TRUE(recorded.has_value());
    ASSERT_EQ(recorded->size(), 2u);
    for (const FileChange& c : *recorded) {
        if (c.relativePath == "LOADING1.BMP") {
            EXPECT_EQ(c.ranges.size(), 2u); // its byte and the other run's
        }
    }
}

// An item that writes a lower offset after a higher one (the teams write
// their names after their numbers): every differing byte is listed, in rising
// order, and nothing that did not change.
TEST(GameChangeSet, AnItemsRangesHoldExactlyItsChangedBytesWhateverTheOrderOfItsWrites)
{
    test::TempDir dir;
    std::string game = dir / "game/";
    ForceDirectories(game);
    auto exe = Bytes(4096, 1);
    test::WriteBytes(game + "GP3.EXE", exe);
    GameChangeSet changes(game);
    GameFile& file = changes.patchFile("GP3.EXE");
    changes.setItem(1);
    auto flip = [&](std::uint64_t at) { file.writeU8(at, static_cast<std::uint8_t>(exe[at] ^ 0xFF)); };
    flip(2000);
    flip(2001);
    flip(100);
    flip(1500);
    flip(99);
    flip(2010);                    // 8 bytes after the first range: a range of its own
    file.writeU8(2005, exe[2005]); // written, but the same

    auto list = changes.changes();
    ASSERT_EQ(list.size(), 1u);
    ASSERT_EQ(list[0].items.size(), 1u);
    const auto& ranges = list[0].items[0].ranges;
    ASSERT_EQ(ranges.size(), 4u);
    const std::pair<std::uint64_t, std::uint64_t> expected[] = {{99, 2}, {1500, 1}, {2000, 2}, {2010, 1}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(ranges[i].offset, expected[i].first) << i;
        EXPECT_EQ(ranges[i].length, expected[i].second) << i;
    }
    ASSERT_EQ(list[0].ranges.size(), 4u); // the file's own list is as exact
    EXPECT_EQ(list[0].ranges[3].offset, 2010u);
}

// Large files (the art bank) are edited where the change set holds them, and
// compared with the disk a piece at a time rather than kept twice.
TEST(GameChangeSet, WholeFilesEditedInPlaceAreComparedWithTheDisk)
{
    test::TempDir dir;
    std::string game = dir / "game/";
    ForceDirectories(game + "BITMAPS");
    const auto bank = Bytes(3 * 1024 * 1024 + 5, 4); // more than one piece of the comparison
    test::WriteBytes(game + "BITMAPS/GP3ART5.BIN", bank);
    test::WriteBytes(game + "GP3.EXE", Bytes(4096, 1));

    GameChangeSet changes(game);
    EXPECT_EQ(changes.editWholeFile("BITMAPS\\MISSING.BIN"), nullptr);
    changes.setItem(7);
    std::vector<std::uint8_t>* held = changes.holdWholeFile("bitmaps\\gp3art5.bin");
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(*held, bank);
    EXPECT_TRUE(changes.changes().empty()); // held, not changed

    changes.setItem(8);
    std::vector<std::uint8_t>* edited = changes.editWholeFile("BITMAPS\\GP3ART5.BIN");
    ASSERT_EQ(edited, held);
    const std::size_t piece = 1 << 20;
    (*edited)[piece - 1] ^= 1; // either side of a piece boundary: one range
    (*edited)[piece] ^= 1;
    (*edited)[2 * piece + 100] ^= 1;
    edited->resize(bank.size() + 10, 0); // and grown
    changes.setItem(9);
    changes.holdWholeFile("BITMAPS\\GP3ART5.BIN"); // only looked at: still item 8's

    auto list = changes.changes();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(list[0].replaced);
    EXPECT_EQ(list[0].oldSize, bank.size());
    EXPECT_EQ(list[0].newSize, bank.size() + 10);
    ASSERT_EQ(list[0].ranges.size(), 3u);
    EXPECT_EQ(list[0].ranges[0].offset, piece - 1);
    EXPECT_EQ(list[0].ranges[0].length, 2u);
    EXPECT_EQ(list[0].ranges[1].offset, 2 * piece + 100);
    EXPECT_EQ(list[0].ranges[2].offset, bank.size());
    EXPECT_EQ(list[0].ranges[2].length, 10u);
    ASSERT_EQ(list[0].items.size(), 1u);
    EXPECT_EQ(list[0].items[0].item, 8);
    EXPECT_EQ(changes.pendingContent("BITMAPS\\GP3ART5.BIN"), edited);

    // Given up, the bank keeps what it has on disk.
    changes.discardReplacement("BITMAPS\\GP3ART5.BIN");
    EXPECT_EQ(changes.pendingContent("BITMAPS\\GP3ART5.BIN"), nullptr);
    EXPECT_TRUE(changes.changes().empty());

    // A patched file replaced as a whole is compared with its original on
    // disk; the same content again is no change at all.
    GameFile& exe = changes.patchFile("GP3.EXE");
    exe.writeU8(5, 0xEE);
    changes.replaceFile("GP3.EXE", Bytes(4096, 1));
    EXPECT_TRUE(changes.changes().empty());
    changes.replaceFile("GP3.EXE", Bytes(4000, 1));
    list = changes.changes();
    ASSERT_EQ(list.size(), 1u);
    ASSERT_EQ(list[0].ranges.size(), 1u);
    EXPECT_EQ(list[0].ranges[0].offset, 4000u);
    EXPECT_EQ(list[0].ranges[0].length, 96u);
}

// A put-back after a run that failed before it changed a file writes only the
// files that differ from the point: a full disk cannot make it fail on a file
// that is whole, and the report says which files needed nothing.
TEST(RestorePoints, APutBackWritesOnlyTheFilesThatChanged)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimit;
#else
    test::TempDir dir;
    std::string game = dir / "game/";
    ForceDirectories(game + "BITMAPS");
    const auto bank = Bytes(200'000, 4), exe = Bytes(3000, 1);
    test::WriteBytes(game + "BITMAPS/GP3ART5.BIN", bank);
    test::WriteBytes(game + "GP3.EXE", exe);
    RestorePoints points(dir / "points", game);
    RestorePoint point = points.create(PointOperation("art expand"), {"BITMAPS/GP3ART5.BIN", "GP3.EXE", "BITMAPS/GP3ART5.BIN.OLD"});

    test::WriteBytes(game + "GP3.EXE", Bytes(3000, 9));
    RestoreReport report;
    {
        // Room for GP3.EXE, none for the bank.
        test::FileSizeLimit full(10'000);
        report = points.restore(point);
    }
    EXPECT_TRUE(report.ok()) << (report.failed.empty() ? "" : report.failed[0]);
    EXPECT_EQ(report.restored.size(), 3u);
    EXPECT_EQ(report.unchanged, (std::vector<std::string>{"BITMAPS/GP3ART5.BIN", "BITMAPS/GP3ART5.BIN.OLD"}));
    EXPECT_EQ(report.written(), 1u);
    EXPECT_EQ(test::ReadBytes(game + "GP3.EXE"), exe);
    EXPECT_EQ(test::ReadBytes(game + "BITMAPS/GP3ART5.BIN"), bank);

    // A bank of the same size but other bytes is written back.
    auto changed = bank;
    changed[150'000] ^= 1;
    test::WriteBytes(game + "BITMAPS/GP3ART5.BIN", changed);
    report = points.restore(point);
    EXPECT_TRUE(report.ok());
    EXPECT_EQ(report.written(), 1u);
    EXPECT_EQ(test::ReadBytes(game + "BITMAPS/GP3ART5.BIN"), bank);
#endif
}

TEST(SafeWrite, APieceWiseWriterOverwritesWhatItWroteAndNothingBeyond)
{
    test::TempDir dir;
    std::string file = dir / "GP3ART5.BIN";
    test::WriteBytes(file, Bytes(10, 1));
    {
        SafeFileWriter out(file);
        out.write(Bytes(5000, 2));
        out.startWritingOut();
        out.write(Bytes(3000, 3));
        out.writeAt(0, Bytes(100, 4));
        EXPECT_THROW(out.writeAt(7950, Bytes(100, 5)), FileWriteError);
        EXPECT_EQ(out.written(), 8000u);
        EXPECT_EQ(test::ReadBytes(file), Bytes(10, 1)); // not before commit
        out.commit(WriteSync::NotNeeded);
    }
    auto expected = Bytes(100, 4);
    auto rest = Bytes(5000, 2);
    expected.insert(expected.end(), rest.begin() + 100, rest.end());
    rest = Bytes(3000, 3);
    expected.insert(expected.end(), rest.begin(), rest.end());
    EXPECT_EQ(test::ReadBytes(file), expected);
    EXPECT_TRUE(Leftovers(dir.path(), {"GP3ART5.BIN"}).empty());
}
