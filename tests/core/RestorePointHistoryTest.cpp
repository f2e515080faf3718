// What restore points record of the runs that made them, how they are
// pruned, and going back to a point across the runs made after it.

#include "TestSupport.h"

#include "app/Language.h"
#include "base/FileUtils.h"
#include "base/Windows1252.h"
#include "transfer/PointOperationText.h"
#include "transfer/RestorePoints.h"

#include <gtest/gtest.h>

using namespace pitwall;

namespace {

std::vector<std::uint8_t> Bytes(std::size_t size, std::uint8_t seed)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
    return bytes;
}

UITexts Texts(const char* file)
{
    UITexts texts;
    test::RecordingMessages sink;
    EXPECT_TRUE(LoadLanguage(PITWALL_RUNTIME_DIR, file, texts, sink));
    return texts;
}

struct Game {
    test::TempDir dir;
    std::string game = dir / "game/", root = dir / "points/";
    Game()
    {
        ForceDirectories(game + "LDATA");
        test::WriteBytes(game + "GP3.EXE", Bytes(3000, 1));
        test::WriteBytes(game + "LDATA/ENGLISH.str", Bytes(500, 2));
    }
    // A run of its own that makes a point and then writes `bytes`.
    RestorePoint run(const PointOperation& what, const std::string& file, const std::vector<std::uint8_t>& bytes,
                     int keep = 10, int megabytes = 1000)
    {
        RestorePoints points(root, game, keep, megabytes);
        RestorePoint point = points.create(what, {file});
        test::WriteBytes(game + file, bytes);
        points.prune();
        return point;
    }
};

} // namespace

TEST(RestorePointHistory, OperationsAreKeptAsKindAndArgumentsAndOldPointsStillRead)
{
    Game g;
    g.run(PointOperation(point_kind::kApply, {"teams.GMS", "1", "3"}), "GP3.EXE", Bytes(3000, 5));
    RestorePoints points(g.root, g.game);
    auto list = points.list();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].what.kind, "apply");
    EXPECT_EQ(list[0].what.args, (std::vector<std::string>{"teams.GMS", "1", "3"}));
    EXPECT_EQ(list[0].what.carset(), "teams.GMS");
    EXPECT_EQ(list[0].operation, "apply of carset teams.GMS (items 1, 3)");
    const UITexts english = Texts("ENGLISH.LNG"), german = Texts("DEUTSCH.LNG");
    EXPECT_EQ(OperationText(list[0], english), "Apply of carset teams.GMS (items 1, 3)");
    EXPECT_EQ(OperationText(list[0], german), "Carset teams.GMS eingespielt (Teile 1, 3)");

    // A manifest of an older version: only "operation=export".
    const std::string manifest = list[0].directory + "manifest.txt";
    std::string text = test::ReadText(manifest), old;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (!line.starts_with("kind=") && !line.starts_with("arg="))
            old += (line.starts_with("operation=") ? "operation=export" : line) + "\n";
    test::WriteText(manifest, old);
    list = points.list();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].what.kind, "export");
    EXPECT_EQ(list[0].what.carset(), "");
    EXPECT_EQ(OperationText(list[0], german), "Export");
    EXPECT_TRUE(points.restore(list[0]).ok());
    EXPECT_EQ(test::ReadBytes(g.game + "GP3.EXE"), Bytes(3000, 1));
}

TEST(RestorePointHistory, LongItemListsReadAsRuns)
{
    const UITexts english = Texts("ENGLISH.LNG");
    RestorePoint point;
    point.what =
        PointOperation(point_kind::kApply, {"all.GMS", "1", "2", "3", "4", "6", "8", "9", "10", "11", "13", "14"});
    EXPECT_EQ(OperationText(point, english), "Apply of carset all.GMS (items 1-4, 6, 8-11, 13, 14)");
    point.what = PointOperation(point_kind::kExport, {"5", "6", "7", "200"});
    EXPECT_EQ(OperationText(point, english), "Export of items 5-7, 200");
}

TEST(RestorePointHistory, CarsetNamesOutsideWindows1252KeepTheirLetters)
{
    // File names are UTF-8; a Polish carset name has letters Windows-1252 lacks.
    const UITexts german = Texts("DEUTSCH.LNG");
    RestorePoint point;
    point.what = PointOperation(point_kind::kApply, {"Wyścig ✓.GMS"});
    EXPECT_EQ(MessageTextToUtf8(OperationText(point, german)), "Carset Wyścig ✓.GMS eingespielt");
    point.what = PointOperation(point_kind::kUndo, {"Übersee.GMS"});
    EXPECT_EQ(MessageTextToUtf8(OperationText(point, german)), "Carset Übersee.GMS rückgängig gemacht");
}

TEST(RestorePointHistory, PruningKeepsTheCountAndTheSizeButAlwaysTheNewest)
{
    Game g;
    const std::size_t mb = 1024 * 1024;
    test::WriteBytes(g.game + "BIG.BIN", Bytes(2 * mb, 1));
    // Each point holds 2 MB; three fit in 7 MB, a fourth does not.
    for (std::uint8_t i = 0; i < 4; ++i)
        g.run(PointOperation(point_kind::kFile, {"BIG.BIN"}), "BIG.BIN", Bytes(2 * mb, i + 2), 10, 7);
    RestorePoints points(g.root, g.game);
    EXPECT_EQ(points.list().size(), 3u);
    // A point larger than the whole allowance is still kept as the newest,
    // and the older ones go.
    g.run(PointOperation(point_kind::kFile, {"BIG.BIN"}), "BIG.BIN", Bytes(1, 1), 10, 1);
    auto kept = points.list();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].totalSize(), 2 * mb);
}

TEST(RestorePointHistory, GoingBackToAPointUndoesTheLaterRunsAndCanItselfBeUndone)
{
    Game g;
    RestorePoint first = g.run(PointOperation(point_kind::kApply, {"a.GMS", "1"}), "GP3.EXE", Bytes(3000, 5));
    g.run(PointOperation(point_kind::kTextImport, {"ENGLISH"}), "LDATA/ENGLISH.str", Bytes(600, 6));
    g.run(PointOperation(point_kind::kSettings), "GP3.EXE", Bytes(3000, 7));
    RestorePoints points(g.root, g.game);

    auto later = points.madeAfter(first);
    ASSERT_EQ(later.size(), 2u);
    EXPECT_EQ(later[0].what.kind, "text-import");
    EXPECT_EQ(later[1].what.kind, "settings");
    auto files = points.filesBackTo(first);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"GP3.EXE", "LDATA/ENGLISH.str"}));
    EXPECT_EQ(points.changedBackTo(first).size(), 2u);

    // Both files as they were before the first run, though only the later
    // run had the text file.
    RestorePoint before = points.create(PointOperation(point_kind::kRestore, {first.id}), files);
    ASSERT_TRUE(points.restoreBackTo(first).ok());
    EXPECT_EQ(test::ReadBytes(g.game + "GP3.EXE"), Bytes(3000, 1));
    EXPECT_EQ(test::ReadBytes(g.game + "LDATA/ENGLISH.str"), Bytes(500, 2));
    EXPECT_TRUE(points.changedBackTo(first).empty());

    ASSERT_TRUE(points.restoreBackTo(before).ok());
    EXPECT_EQ(test::ReadBytes(g.game + "GP3.EXE"), Bytes(3000, 7));
    EXPECT_EQ(test::ReadBytes(g.game + "LDATA/ENGLISH.str"), Bytes(600, 6));

    // A point the run did not need goes without a trace.
    points.discard(before);
    EXPECT_FALSE(points.find(before.id));
}
