#include "session/EditHistory.h"
#include "session/SnapshotHistory.h"

#include "JamTestFiles.h"
#include "TestSupport.h"
#include "base/FileUtils.h"
#include "base/SafeWrite.h"
#include "menu/MenuArt.h"
#include "session/WorkingFiles.h"
#include "tracks/TrackEditing.h"
#include "tracks/TrackPictures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace pitwall;

namespace {

struct EditHistoryFixture : ::testing::Test {
    std::unique_ptr<WorkingSet> data = std::make_unique<WorkingSet>();
    EditHistory history;
    void SetUp() override
    {
        data->teams.teams[6].name.assign("Ferrano");
        data->gameTexts.languages[1] = {"Start", "Retire"};
        history.reset(*data);
    }
};

} // namespace

TEST_F(EditHistoryFixture, UndoAndRedoGiveTheTablesBackExactly)
{
    const TeamTable original = data->teams;
    const auto firstPlacePoints = data->settings.points.points[0];
    EXPECT_FALSE(history.notice(*data, "nothing changed"));
    EXPECT_FALSE(history.unsaved());

    data->teams.teams[6].name.assign("Ferrari");
    data->teams.teams[6].tqp = 750;
    ASSERT_TRUE(history.notice(*data, "Change team 7"));
    const TeamTable edited = data->teams;
    // One step may change several tables: a text and a setting together.
    data->gameTexts.languages[1][1] = "Aufgabe";
    data->settings.points.points[0] = 25;
    ASSERT_TRUE(history.notice(*data, "Change texts"));
    EXPECT_TRUE(history.unsaved());
    EXPECT_EQ(history.undoName(), "Change texts");

    history.undo(*data);
    EXPECT_EQ(data->gameTexts.languages[1][1], "Retire");
    EXPECT_EQ(data->settings.points.points[0], firstPlacePoints);
    EXPECT_EQ(data->teams, edited);
    EXPECT_EQ(history.redoName(), "Change texts");
    history.undo(*data);
    EXPECT_EQ(data->teams, original);
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.unsaved()); // back where the import left it

    history.redo(*data);
    history.redo(*data);
    EXPECT_EQ(data->teams, edited);
    EXPECT_EQ(data->gameTexts.languages[1][1], "Aufgabe");
    EXPECT_FALSE(history.canRedo());
    // A notice after an undo compares with the undone state, not the edit.
    history.undo(*data);
    EXPECT_FALSE(history.notice(*data, "nothing"));
}

TEST_F(EditHistoryFixture, TypingInOneFieldIsOneStep)
{
    for (const char* typed : {"E", "En", "Eng", "EngineX"}) {
        data->teams.teams[0].engine.assign(typed);
        history.notice(*data, "Change engine", "team 1 engine");
    }
    EXPECT_EQ(history.size(), 1u);
    data->teams.teams[0].tqp = 750;
    history.notice(*data, "Change performance", "team 1 performance");
    EXPECT_EQ(history.size(), 2u);
    history.undo(*data);
    history.undo(*data);
    EXPECT_EQ(data->teams.teams[0].engine.text(), "");
    EXPECT_EQ(data->teams.teams[0].tqp, 0);
}

TEST_F(EditHistoryFixture, TypingTakenBackIsNoStep)
{
    data->teams.teams[0].tqp = 750;
    history.notice(*data, "Change performance", "team 1 performance");
    history.markSaved();
    for (const char* typed : {"Ferrano2", "Ferrano"}) {
        data->teams.teams[6].name.assign(typed);
        EXPECT_TRUE(history.notice(*data, "Change name", "team 7 name"));
    }
    EXPECT_EQ(history.size(), 1u);
    EXPECT_FALSE(history.unsaved());
    EXPECT_EQ(history.undoName(), "Change performance");
    // A field taken back while another table of the step stays changed keeps the step.
    data->gameTexts.languages[1][0] = "Go";
    data->teams.teams[6].name.assign("F");
    history.notice(*data, "Change name", "team 7 name");
    data->teams.teams[6].name.assign("Ferrano");
    history.notice(*data, "Change name", "team 7 name");
    EXPECT_EQ(history.size(), 2u);
    history.undo(*data);
    EXPECT_EQ(data->gameTexts.languages[1][0], "Start");
}

TEST_F(EditHistoryFixture, SavedStateFollowsExportsAndNewBranches)
{
    data->teams.teams[1].name.assign("A");
    history.notice(*data, "a");
    history.markSaved(); // exported
    EXPECT_FALSE(history.unsaved());
    // After the save, typing on in the same field starts a new step, so
    // undo can return to the exported state exactly.
    data->teams.teams[1].name.assign("AB");
    history.notice(*data, "b", "field");
    data->teams.teams[1].name.assign("ABC");
    history.notice(*data, "b", "field");
    EXPECT_EQ(history.size(), 2u);
    history.undo(*data);
    EXPECT_FALSE(history.unsaved());
    EXPECT_EQ(data->teams.teams[1].name.text(), "A");

    // Undo below the saved state and do something else: the saved state is
    // gone from the history, so the data stays unsaved whatever is undone.
    history.undo(*data);
    data->teams.teams[2].name.assign("Other");
    history.notice(*data, "c");
    EXPECT_FALSE(history.canRedo());
    EXPECT_TRUE(history.unsaved());
    history.undo(*data);
    EXPECT_TRUE(history.unsaved());

    history.reset(*data); // import or carset load
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.unsaved());
}

TEST_F(EditHistoryFixture, PicturesLoadedIntoJamsAreStepsOfTheirOwn)
{
    test::JamTestContext context;
    std::vector<std::uint8_t> pixels(256 * 2, 5);
    TJAMFile livery(context.palette);
    livery.Decode(test::HandJam8(2, {{0, 0, 256, 2, 1, {}}}, pixels), true);
    data->graphics.cars.soft[3] = livery;
    data->graphics.helmets.hard[1] = livery;
    history.reset(*data);
    const GraphicsSet original = data->graphics;

    // A picture loaded into one JAM page, then the car-number box moved.
    Image page = livery.page();
    page.setPixel(10, 1, context.palette.pixel(77));
    ASSERT_TRUE(data->graphics.cars.soft[3]->ReplacePage(page));
    ASSERT_TRUE(history.notice(*data, "Load livery"));
    const Image loaded = data->graphics.cars.soft[3]->page();
    data->graphics.carNumbers[2][0] = 17;
    ASSERT_TRUE(history.notice(*data, "Move car number"));
    EXPECT_FALSE(history.notice(*data, "nothing"));

    history.undo(*data);
    EXPECT_EQ(data->graphics.carNumbers, original.carNumbers);
    EXPECT_EQ(data->graphics.cars.soft[3]->page(), loaded);
    history.undo(*data);
    EXPECT_EQ(data->graphics.cars.soft[3]->page(), original.cars.soft[3]->page());
    EXPECT_EQ(data->graphics.helmets.hard[1]->page(), original.helmets.hard[1]->page());
    EXPECT_FALSE(data->graphics.cars.hard[3]);
    EXPECT_FALSE(history.unsaved());

    history.redo(*data);
    EXPECT_EQ(data->graphics.cars.soft[3]->page(), loaded);
    history.redo(*data);
    EXPECT_EQ(data->graphics.carNumbers[2][0], 17);
    // A JAM taken out (a load without it) is a change too, and comes back.
    data->graphics.helmets.hard[1].reset();
    ASSERT_TRUE(history.notice(*data, "Remove"));
    history.undo(*data);
    ASSERT_TRUE(data->graphics.helmets.hard[1]);
}

TEST_F(EditHistoryFixture, TeamSheetsLoadedForTheMenuAreStepsOfTheirOwn)
{
    data->teamArt[2] = ArtPicture(4, 3, 0x1234);
    history.reset(*data);
    const TeamArtSheets original = data->teamArt;

    // A picture loaded into team 2's sheet, then a sheet for team 5, which
    // had none: two steps, each undone and redone on its own.
    data->teamArt[2].at(1, 1) = 0x7FFF;
    ASSERT_TRUE(history.notice(*data, "Load team art 2"));
    const TeamArtSheets first = data->teamArt;
    data->teamArt[5] = ArtPicture(4, 3, 0x0421);
    ASSERT_TRUE(history.notice(*data, "Load team art 5"));
    EXPECT_FALSE(history.notice(*data, "nothing"));
    EXPECT_EQ(history.undoName(), "Load team art 5");

    history.undo(*data);
    EXPECT_EQ(data->teamArt, first);
    history.undo(*data);
    EXPECT_EQ(data->teamArt, original);
    EXPECT_FALSE(history.unsaved());
    history.redo(*data);
    history.redo(*data);
    EXPECT_EQ(data->teamArt[5], ArtPicture(4, 3, 0x0421));
    EXPECT_EQ(data->teamArt[2].at(1, 1), 0x7FFF);
}

// The editors' working files: a sound replaced (the table and its WAV), a
// menu background loaded where there was none, and two tracks exchanged with
// their pictures; each undone and redone to the same bytes.
TEST(EditHistoryFiles, WorkingFilesAreUndoneWithTheirTables)
{
    test::TempDir work;
    auto data = std::make_unique<WorkingSet>();
    data->sounds.entries.resize(3);
    data->sounds.marks.assign(3, 0);
    const std::string sound = work.path() + SoundWorkFileName(1);
    const std::string background = work.path() + MenuReplacementName(4);
    test::WriteBytes(sound, {1, 2, 3, 4});
    test::WriteBytes(work.path() + TrackPictureMember(0, 0, 0), {10, 10});
    test::WriteBytes(work.path() + TrackPictureMember(2, 0, 0), {12, 12, 12});
    data->tracks.trackFiles[2] = std::vector<std::uint8_t>{0x44};
    EditHistory history;
    history.reset(*data);
    const auto watch = [&] {
        history.watchFiles(SoundWorkingFiles(work.path()));
        history.watchFiles(MenuPictureWorkingFiles(work.path()));
        history.watchFiles(TrackPictureWorkingFiles(work.path()));
    };
    watch();
    const test::FileTree original = test::ReadFileTree(work.path());
    const SoundTable originalSounds = data->sounds;

    // Same size, written at once: only the file's identity tells the change.
    test::WriteBytes(sound + ".new", {5, 6, 7, 8});
    std::filesystem::rename(NativePath(sound + ".new"), NativePath(sound));
    data->sounds.entries[1].dataSize = 4;
    data->sounds.marks[1] = 1;
    ASSERT_TRUE(history.notice(*data, "Load sound 1"));
    const test::FileTree soundLoaded = test::ReadFileTree(work.path());
    watch(); // watched already: nothing is taken again
    test::WriteBytes(background, {9, 9, 9});
    ASSERT_TRUE(history.notice(*data, "Load background 4"));
    ExchangeTracks(data->tracks, data->transfer, work.path(), 0, 2);
    ASSERT_TRUE(history.notice(*data, "Exchange tracks"));
    EXPECT_FALSE(history.notice(*data, "nothing"));
    const test::FileTree edited = test::ReadFileTree(work.path());
    ASSERT_EQ(edited.at(TrackPictureMember(0, 0, 0)), (std::vector<std::uint8_t>{12, 12, 12}));

    history.undo(*data);
    EXPECT_EQ(data->tracks.trackFiles[0], std::nullopt);
    EXPECT_EQ(data->tracks.trackFiles[2], std::vector<std::uint8_t>{0x44});
    history.undo(*data);
    EXPECT_EQ(test::ReadFileTree(work.path()), soundLoaded); // the background is gone again
    history.undo(*data);
    EXPECT_EQ(test::ReadFileTree(work.path()), original);
    EXPECT_EQ(data->sounds, originalSounds);
    EXPECT_FALSE(history.unsaved());
    EXPECT_FALSE(history.notice(*data, "nothing")); // the files put back are known as they are

    history.redo(*data);
    history.redo(*data);
    history.redo(*data);
    EXPECT_EQ(test::ReadFileTree(work.path()), edited);
    EXPECT_EQ(data->sounds.marks[1], 1);
}

// A working file that cannot be put back stops the undo before anything
// changes: the step stays, the tables stay.
TEST(EditHistoryFiles, AFileThatCannotBeWrittenKeepsTheStep)
{
    test::TempDir work;
    auto data = std::make_unique<WorkingSet>();
    const std::string picture = work.path() + LoadingPictureName(1);
    test::WriteBytes(picture, {1});
    EditHistory history;
    history.reset(*data);
    history.watchFiles({picture});
    test::WriteBytes(picture, {2, 2});
    data->transfer.loaded[0] = 1;
    ASSERT_TRUE(history.notice(*data, "Load picture"));

    // A folder where the file was: neither written over nor removed.
    std::filesystem::remove(NativePath(picture));
    std::filesystem::create_directories(NativePath(picture + "/inside"));
    EXPECT_THROW(history.undo(*data), FileWriteError);
    EXPECT_TRUE(history.canUndo());
    EXPECT_EQ(data->transfer.loaded[0], 1);
}

// A watched file that cannot be read is not kept: its change is no step, so
// no undo ever writes over it or removes it.
TEST(EditHistoryFiles, AFileThatCannotBeReadIsNeverUndone)
{
    test::TempDir work;
    auto data = std::make_unique<WorkingSet>();
    const std::string picture = work.path() + LoadingPictureName(2);
    std::filesystem::create_directories(NativePath(picture));
    EditHistory history;
    history.reset(*data);
    history.watchFiles({picture});
    std::filesystem::remove(NativePath(picture));
    test::WriteBytes(picture, {7, 7});
    EXPECT_FALSE(history.notice(*data, "Load picture"));
    data->transfer.loaded[0] = 1;
    ASSERT_TRUE(history.notice(*data, "Other"));
    history.undo(*data);
    EXPECT_EQ(test::ReadBytes(picture), (std::vector<std::uint8_t>{7, 7}));
}

// A window's own document (the workshop's JAM) knows whether it differs from
// its file: after undoing back to the saved state it does not; once the way
// back to that state is gone (a new step after undoing past it, or the step
// dropped for the limit), it does for good until the next save.
TEST(SnapshotHistory, KnowsWhetherTheDocumentDiffersFromItsFile)
{
    SnapshotHistory<int> doc(3);
    EXPECT_FALSE(doc.unsaved());
    doc.record("a", 0, 1);
    EXPECT_TRUE(doc.unsaved());
    doc.undo();
    EXPECT_FALSE(doc.unsaved());
    doc.redo();
    doc.markSaved();
    doc.record("b", 1, 2);
    doc.undo();
    EXPECT_FALSE(doc.unsaved());
    doc.undo();
    doc.record("c", 0, 3); // "a", the saved state's step, is gone
    EXPECT_TRUE(doc.unsaved());
    doc.undo();
    EXPECT_TRUE(doc.unsaved());

    SnapshotHistory<int> limited(2);
    limited.record("a", 0, 1);
    limited.markSaved();
    limited.record("b", 1, 2);
    limited.record("c", 2, 3); // drops "a": the saved state is now the first position
    limited.undo();
    limited.undo();
    EXPECT_FALSE(limited.unsaved());
    limited.redo();
    limited.record("d", 2, 4);
    limited.record("e", 4, 5); // drops "b": no way back to 1
    while (limited.canUndo())
        limited.undo();
    EXPECT_TRUE(limited.unsaved());
    limited.clear();
    EXPECT_FALSE(limited.unsaved());
}
