#include "TestSupport.h"

#include "transfer/Backup.h"
#include "transfer/CarsetInfo.h"
#include "transfer/FileUtils.h"

#include <gtest/gtest.h>

using namespace pitwall;

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
    ASSERT_TRUE(RunBackup(game.path(), "\"" + target / "only-exe" + "\"", {0}, progress));
    EXPECT_EQ(ListFiles(target / "only-exe", "*.*", true, false), std::vector<std::string>{target / "only-exe/GP3.EXE"});
    EXPECT_EQ(progress.started, (std::pair<int, std::uint64_t>{1, 3}));
    EXPECT_TRUE(progress.finished);

    RecordingProgress all;
    ASSERT_TRUE(RunBackup(game.path(), target / "b", {2, 10}, all));
    EXPECT_EQ(test::ReadText(target / "b/Circuits/F1CT01.DAT"), "track1");
    EXPECT_EQ(test::ReadText(target / "b/Circuits/extra/notes.txt"), "n");
    EXPECT_EQ(test::ReadText(target / "b/Bitmaps/LOADING1.bmp"), "picture");
    EXPECT_FALSE(FileExists(target / "b/Bitmaps/other.bmp"));
    EXPECT_EQ(all.doneItems, 2);

    RecordingProgress none;
    EXPECT_FALSE(RunBackup(game.path(), "", {0}, none));
    EXPECT_FALSE(RunBackup(game.path(), "\"\"", {0}, none));
}

TEST(Backup, FormatSize)
{
    EXPECT_EQ(FormatSize(0), "0 Byte");
    EXPECT_EQ(FormatSize(999), "999 Byte");
    EXPECT_EQ(FormatSize(1500, ','), "1,5 KB");
    EXPECT_EQ(FormatSize(1500), "1.5 KB");
    EXPECT_EQ(FormatSize(8'835'072), "8.84 MB");
    EXPECT_EQ(FormatSize(2'000'000'000), "2 GB");
    EXPECT_EQ(FormatSize(12'345'678'901'234), "1.23E+04 GB");
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
    EXPECT_EQ(info.lines, (std::vector<std::string>{"v1.0", "Ann", "06.12.26", "1", "RESERVED", "RESERVED", "RESERVED",
                                                    "RESERVED", "RESERVED", "RESERVED", "First line", "Second line"}));
    EXPECT_TRUE(ShowCarsetInfoOnLoad(info));
    auto back = CarsetInfoToFields(ParseCarsetInfo(CarsetInfoText(info)));
    EXPECT_EQ(back.text, f.text);
    EXPECT_TRUE(back.showOnLoad);
    info.lines[3] = "RESERVED";
    EXPECT_TRUE(ShowCarsetInfoOnLoad(info));
}
