#include "TestSupport.h"

#include "base/FileUtils.h"
#include "transfer/Backup.h"
#include "transfer/CarsetInfo.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace pitwall;
namespace fs = std::filesystem;

namespace {

class RecordingProgress : public CopyProgress {
public:
    void start(int items, std::uint64_t bytes) override { started = {items, bytes}; }
    void step(std::uint64_t bytes, int items) override
    {
        doneBytes += bytes;
        doneItems += items;
    }
    void finish() override { finished = true; }
    std::pair<int, std::uint64_t> started;
    std::uint64_t doneBytes = 0;
    int doneItems = 0;
    bool finished = false;
};

} // namespace

TEST(Backup, CopiesGroupsKeepingTheInstallationsStructure)
{
    test::TempDir game, target;
    test::WriteText(game / "GP3.EXE", "exe");
    test::WriteText(game / "F1GSTATE.SAV", "save");
    test::WriteText(game / "circuits/F1CT01.DAT", "track1");
    test::WriteText(game / "circuits/extra/notes.txt", "n");
    test::WriteText(game / "bitmaps/LOADING1.bmp", "picture");
    test::WriteText(game / "bitmaps/other.bmp", "x");

    EXPECT_EQ(BackupGroupSize(game.path(), 0), 3u);
    EXPECT_EQ(BackupGroupSize(game.path(), 10), 7u); // Bitmaps\Loading*.BMP, any letter case
    EXPECT_EQ(BackupSize(game.path(), {0, 1}), 7u);

    RecordingProgress progress;
    auto exe = RunBackup(game.path(), "\"" + target / "only-exe" + "\"", {0}, progress);
    ASSERT_TRUE(exe && exe->complete());
    EXPECT_EQ(ListFiles(target / "only-exe", "*.*", true, false),
              std::vector<std::string>{target / "only-exe/GP3.EXE"});
    EXPECT_EQ(progress.started, (std::pair<int, std::uint64_t>{1, 3}));
    EXPECT_TRUE(progress.finished);

    RecordingProgress all;
    auto groups = RunBackup(game.path(), target / "b", {2, 10}, all);
    ASSERT_TRUE(groups && groups->complete());
    // The folders are spelled as the installation spells them, not as the
    // groups' patterns ("Circuits", "Bitmaps") do.
    EXPECT_EQ(test::ReadText(target / "b/circuits/F1CT01.DAT"), "track1");
    EXPECT_EQ(test::ReadText(target / "b/circuits/extra/notes.txt"), "n");
    EXPECT_EQ(test::ReadText(target / "b/bitmaps/LOADING1.bmp"), "picture");
    EXPECT_FALSE(FileExists(target / "b/bitmaps/other.bmp"));
    EXPECT_EQ(ListFiles(target / "b", "*.*", true, false).size(), 3u);
    EXPECT_EQ(all.doneItems, 2);

    RecordingProgress none;
    EXPECT_FALSE(RunBackup(game.path(), "", {0}, none));
    EXPECT_FALSE(RunBackup(game.path(), "\"\"", {0}, none));
}

// A backup folder chosen inside a group's own folder: each file is copied
// once, and the backup is never copied into itself (it used to nest copies
// until the path grew too long, a gigabyte later).
TEST(Backup, AFolderInsideTheGroupsFolderIsNotCopiedIntoItself)
{
    test::TempDir game;
    test::WriteText(game / "GP3.EXE", "exe");
    test::WriteText(game / "circuits/F1CT01.DAT", "track1");
    test::WriteText(game / "circuits/extra/notes.txt", "n");
    const std::string inside = game / "circuits/bk";
    for (int run = 0; run < 2; ++run) {
        RecordingProgress progress;
        auto result = RunBackup(game.path(), inside, {0, 2}, progress);
        ASSERT_TRUE(result && result->complete());
        EXPECT_EQ(test::ReadText(inside + "/circuits/F1CT01.DAT"), "track1");
        EXPECT_EQ(test::ReadText(inside + "/GP3.EXE"), "exe");
        EXPECT_EQ(ListFiles(inside, "*.*", true, false).size(), 3u);
        EXPECT_FALSE(DirectoryExists(inside + "/circuits/bk"));
    }
}

TEST(Backup, AFullDiskIsReportedAndLeavesNoPartialFile)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimit;
#else
    test::TempDir game, target;
    test::WriteText(game / "GP3.EXE", std::string(200'000, 'E'));
    test::WriteText(game / "F1GSTATE.SAV", "save");
    test::WriteText(game / "LDATA/ENGLISH.STR", std::string(100'000, 'S'));
    test::WriteText(game / "LDATA/GERMAN.STR", "short");
    test::WriteText(target / "GP3.EXE", "the backup before");

    RecordingProgress progress;
    std::optional<BackupResult> result;
    {
        test::FileSizeLimit full(64 * 1024);
        result = RunBackup(game.path(), target.path(), {0, 1, 3}, progress);
    }
    ASSERT_TRUE(result);
    ASSERT_EQ(result->failures.size(), 2u);
    EXPECT_EQ(result->failures[0].file, game / "GP3.EXE");
    EXPECT_EQ(result->failures[1].file, game / "LDATA/ENGLISH.STR");
    EXPECT_FALSE(result->failures[0].reason.empty());
    EXPECT_TRUE(progress.finished);
    // The earlier backup of the file is untouched, the rest went on.
    EXPECT_EQ(test::ReadText(target / "GP3.EXE"), "the backup before");
    EXPECT_FALSE(FileExists(target / "LDATA/ENGLISH.STR"));
    EXPECT_EQ(test::ReadText(target / "F1GSTATE.SAV"), "save");
    EXPECT_EQ(test::ReadText(target / "LDATA/GERMAN.STR"), "short");
    // No temporary file is left behind.
    EXPECT_EQ(ListFiles(target.path(), "*.pitwall-*", true, false), std::vector<std::string>{});
    EXPECT_EQ(ListFiles(target.path(), "*.*", true, false).size(), 3u);
#endif
}

TEST(Backup, LinksInTheInstallationAreNotFollowed)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    test::TempDir game, outside, target;
    test::WriteText(game / "GP3.EXE", "exe");
    test::WriteText(game / "circuits/F1CT01.DAT", "track1");
    test::WriteText(outside / "secret.txt", "secret");
    test::WriteText(outside / "texts/ENGLISH.STR", "secret texts");
    fs::create_symlink(NativePath(outside / "secret.txt"), NativePath(game / "circuits/F1CT02.DAT"));
    fs::create_directory_symlink(NativePath(outside / "texts"), NativePath(game / "LData"));

    RecordingProgress progress;
    auto result = RunBackup(game.path(), target.path(), {0, 2, 3}, progress);
    ASSERT_TRUE(result);
    ASSERT_EQ(result->failures.size(), 2u);
    EXPECT_EQ(result->failures[0].file, game / "circuits/F1CT02.DAT");
    EXPECT_EQ(result->failures[1].file, game / "LData/");
    EXPECT_EQ(test::ReadText(target / "circuits/F1CT01.DAT"), "track1");
    EXPECT_FALSE(fs::exists(fs::symlink_status(NativePath(target / "circuits/F1CT02.DAT"))));
    EXPECT_FALSE(fs::exists(fs::symlink_status(NativePath(target / "LData/ENGLISH.STR"))));
#endif
}

TEST(Backup, FormatSize)
{
    EXPECT_EQ(FormatSize(0), "0 Byte");
    EXPECT_EQ(FormatSize(999), "999 Byte");
    EXPECT_EQ(FormatSize(1500, ','), "1,5 KB");
    EXPECT_EQ(FormatSize(1500), "1.5 KB");
    EXPECT_EQ(FormatSize(8'835'072), "8.84 MB");
    EXPECT_EQ(FormatSize(2'000'000'000), "2 GB");
    EXPECT_EQ(FormatSize(999'999), "1000 KB");
    EXPECT_EQ(FormatSize(999'999'999), "1000 MB");
    EXPECT_EQ(FormatSize(12'345'678'901'234), "12346 GB");
}

TEST(CarsetInfo, EditsGiveTwelveLinesAndShortListsKeepTheFields)
{
    CarsetInfo info;
    EXPECT_EQ(info.lines.size(), 9u);
    EXPECT_FALSE(ShowCarsetInfoOnLoad(info));
    CarsetInfoFields previous;
    previous.author = "kept";
    EXPECT_EQ(CarsetInfoToFields(info, previous).author, "kept");

    CarsetInfoFields f;
    f.version = "v1.0";
    f.author = "Ann";
    f.date = "06.12.26";
    f.showOnLoad = true;
    f.text = {"First line", "Second line"};
    ApplyCarsetInfoEdits(info, f);
    EXPECT_EQ(info.lines,
              (std::vector<std::string>{"v1.0", "Ann", "06.12.26", "1", "RESERVED", "RESERVED", "RESERVED", "RESERVED",
                                        "RESERVED", "RESERVED", "First line", "Second line"}));
    EXPECT_TRUE(ShowCarsetInfoOnLoad(info));
    auto back = CarsetInfoToFields(ParseCarsetInfo(CarsetInfoText(info)));
    EXPECT_EQ(back.text, f.text);
    EXPECT_TRUE(back.showOnLoad);
    info.lines[3] = "RESERVED";
    EXPECT_TRUE(ShowCarsetInfoOnLoad(info));
}
