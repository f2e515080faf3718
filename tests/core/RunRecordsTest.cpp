// What is kept about runs for undoing one of them later: the bytes each run
// wrote (beside its restore point) and the library's history of applies.
// Damaged records are read as absent or skipped, never half-believed.

#include "TestSupport.h"

#include "base/FileUtils.h"
#include "transfer/LibraryHistory.h"
#include "transfer/PointChanges.h"

#include <gtest/gtest.h>
#include <thread>

using namespace pitwall;

namespace {

std::vector<FileChange> SomeChanges()
{
    FileChange exe;
    exe.relativePath = "GP3.EXE";
    exe.oldSize = exe.newSize = 1000;
    exe.ranges = {{10, 4}, {500, 20}};
    exe.items = {{1, {{10, 4}}}, {0, {{500, 20}}}};
    FileChange jam;
    jam.relativePath = "cars/car1.jam";
    jam.replaced = true;
    jam.oldSize = 96;
    jam.newSize = 80;
    jam.ranges = {{0, 96}}; // a file that shrank differs up to its old end
    FileChange created;
    created.relativePath = "new file.txt";
    created.created = true;
    created.newSize = 3;
    return {exe, jam, created};
}

} // namespace

TEST(RunRecords, PointChangesReadBackExactlyAndDamageMeansNone)
{
    test::TempDir dir;
    RestorePoint point;
    point.directory = dir.path();
    EXPECT_FALSE(ReadPointChanges(point));
    WritePointChanges(point, SomeChanges());
    auto read = ReadPointChanges(point);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 3u);
    EXPECT_EQ((*read)[0].relativePath, "GP3.EXE");
    ASSERT_EQ((*read)[0].ranges.size(), 2u);
    EXPECT_EQ((*read)[0].ranges[1].offset, 500u);
    EXPECT_EQ((*read)[0].ranges[1].length, 20u);
    ASSERT_EQ((*read)[0].items.size(), 2u);
    EXPECT_EQ((*read)[0].items[0].item, 1);
    EXPECT_TRUE((*read)[1].replaced);
    EXPECT_EQ((*read)[1].newSize, 80u);
    EXPECT_EQ((*read)[1].ranges[0].length, 96u);
    EXPECT_EQ((*read)[2].relativePath, "new file.txt");
    EXPECT_TRUE((*read)[2].created);

    const std::string file = dir / kPointChangesName;
    const std::string good = test::ReadText(file);
    const std::vector<std::string> damaged = {
        good.substr(0, good.size() - 1),                            // cut short
        "pitwall-changes 2\n",                                       // another version
        good + "range\t990\t20\n",                                  // past the end of the file
        good + "range\t18446744073709551615\t2\n",                  // wraps around
        "pitwall-changes 1\nrange\t0\t1\n",                          // a range of no file
        "pitwall-changes 1\nfile\t2\t0\t1\t1\tGP3.EXE\n",            // not a flag
        good + "item\tx\n",
        "",
    };
    for (const std::string& text : damaged) {
        test::WriteText(file, text);
        EXPECT_FALSE(ReadPointChanges(point)) << text;
    }
}

TEST(RunRecords, HistoryKeepsAppliesPerInstallationAndSkipsDamagedLines)
{
    test::TempDir dir;
    LibraryHistory a(dir / "lib", dir / "A/"), b(dir / "lib", dir / "B/");
    EXPECT_TRUE(a.entries().empty());
    LibraryCarset carset;
    carset.name = "Ferrano";
    carset.sha256 = "ab12";
    AppliedCarset first = MakeAppliedCarset(carset, "20261208-100000-000", SomeChanges());
    EXPECT_EQ(first.items, std::vector<int>{1});
    a.record(first);
    a.record(MakeAppliedCarset(carset, "20261208-100500-000", {}));
    EXPECT_TRUE(b.entries().empty());

    auto entries = a.entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(a.lastInEffect(entries, "FERRANO")->restorePointId, "20261208-100500-000");
    a.markUndone("20261208-100500-000", "20261208-110000-000");
    entries = a.entries();
    EXPECT_TRUE(entries[1].undone());
    EXPECT_EQ(a.lastInEffect(entries, "ferrano")->restorePointId, "20261208-100000-000");

    // A damaged line is skipped; the others stay.
    test::WriteText(a.file(), test::ReadText(a.file()) + "2026\tcut short\n");
    EXPECT_EQ(a.entries().size(), 2u);
    carset.name = "tab\tin name";
    EXPECT_THROW(a.record(MakeAppliedCarset(carset, "x", {})), std::runtime_error);
    EXPECT_EQ(a.entries().size(), 2u);

    // Saved again by a Windows editor, it still reads.
    std::string crlf;
    for (char c : test::ReadText(a.file()))
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    test::WriteText(a.file(), crlf);
    EXPECT_EQ(a.read().size(), 2u);
    // A file that is no history is reported and never written over: the
    // applies it may still list stay undoable once it is mended.
    const std::string foreign = "history of something else\n" + crlf;
    test::WriteText(a.file(), foreign);
    EXPECT_THROW(a.read(), std::runtime_error);
    EXPECT_TRUE(a.entries().empty());
    carset.name = "Ferrano";
    EXPECT_THROW(a.record(MakeAppliedCarset(carset, "20261208-120000-000", {})), std::runtime_error);
    EXPECT_THROW(a.markUndone("20261208-100000-000", "y"), std::runtime_error);
    EXPECT_EQ(test::ReadText(a.file()), foreign);
}

// Two runs ending together (an apply and an undo, or two applies) each add
// their line to the same history: neither loses the other's.
TEST(RunRecords, HistoryLinesOfRunsEndingTogetherAreAllKept)
{
    test::TempDir dir;
    constexpr int kPerRun = 40;
    auto run = [&](char name) {
        LibraryHistory history(dir / "lib", dir / "game/");
        LibraryCarset carset;
        carset.name = std::string(1, name);
        for (int i = 0; i < kPerRun; ++i)
            history.record(MakeAppliedCarset(carset, std::string(1, name) + std::to_string(i), {}));
    };
    std::thread one(run, 'a'), two(run, 'b');
    one.join();
    two.join();
    EXPECT_EQ(LibraryHistory(dir / "lib", dir / "game/").read().size(), 2u * kPerRun);
}
