#include "transfer/GuardedFileSave.h"

#include "TransferFixture.h"
#include "formats/GameInstallation.h"
#include "transfer/ProgramRestorePoints.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace pitwall;

// The JAM workshop saving into an installation: a run of its own behind a
// restore point, refused while another run writes there; elsewhere a plain
// save.
TEST(GuardedFileSave, AJamSavedIntoAnInstallationCanBePutBack)
{
    test::TransferFixture f;
    f.program.restorePointRoot = f.root / "points/";
    f.program.writer.lockDirectory = f.root / "locks/";
    f.program.writer.wait = std::chrono::milliseconds(0);
    const std::string from = f.game("GP3JAMS/Liveries/WILLIA98.JAM"), over = f.game("GP3JAMS/Liveries/FERRAR98.JAM");
    const TJAMFile jam(f.program.palette, from);
    const std::vector<std::uint8_t> before = ReadWholeFile(over);
    ASSERT_NE(before, ReadWholeFile(from));

    const GuardedSave save = SaveJamGuarded(f.program, jam, over);
    ASSERT_TRUE(save.ok()) << save.result.error;
    EXPECT_EQ(save.installation, f.program.settings.gameDirectory);
    const TMemFile assembled = jam.Assemble(true);
    EXPECT_TRUE(std::ranges::equal(ReadWholeFile(over), assembled.Content()));
    RestorePoints points = ProgramRestorePoints(f.program, f.program.settings.gameDirectory);
    ASSERT_EQ(points.list().size(), 1u);
    EXPECT_EQ(points.list()[0].what.kind, point_kind::kFile);
    EXPECT_TRUE(points.restore(points.list()[0]).ok());
    EXPECT_EQ(ReadWholeFile(over), before);

    // Another run holds the installation: nothing is written.
    RestorePoints other(f.program.restorePointRoot, f.program.settings.gameDirectory);
    WriterInfo cli = f.program.writer;
    cli.program = "pitwall-cli";
    cli.runStarted = 222;
    other.setWriter(cli);
    {
        InstallationLock held = other.lock("apply");
        EXPECT_THROW(SaveJamGuarded(f.program, jam, over), RestorePointError);
        EXPECT_EQ(ReadWholeFile(over), before);
    }

    // A picture of the page over the game's loading picture goes in the same way.
    const std::string loading = f.game("BITMAPS/LOADING1.BMP");
    ASSERT_TRUE(FileExists(loading));
    ForceDirectories(f.program.directories.staging);
    ASSERT_TRUE(SaveJamGuarded(f.program, jam, loading).ok());
    EXPECT_EQ(points.list().size(), 2u);
    EXPECT_EQ(ReadWholeFile(loading)[0], 'B');

    // A folder outside that links into the game's folder is inside it.
    std::size_t made = 2;
#ifndef _WIN32
    std::filesystem::create_directory_symlink(f.game("GP3JAMS/Liveries"), f.root / "liveries");
    ASSERT_EQ(SaveJamGuarded(f.program, jam, f.root / "liveries/FERRAR98.JAM").installation,
              f.program.settings.gameDirectory);
    EXPECT_TRUE(std::ranges::equal(ReadWholeFile(over), assembled.Content()));
    EXPECT_EQ(points.list().size(), ++made);
    // A game file that links to a file elsewhere is still the game's.
    std::filesystem::create_directory(f.root / "mods");
    std::filesystem::copy_file(from, f.root / "mods/X.JAM");
    std::filesystem::create_symlink(f.root / "mods/X.JAM", f.game("GP3JAMS/Liveries/LINKED.JAM"));
    std::string relative;
    EXPECT_EQ(InstallationOf(f.game("GP3JAMS/Liveries/LINKED.JAM"), &relative), f.program.settings.gameDirectory);
    EXPECT_EQ(relative, "GP3JAMS/Liveries/LINKED.JAM");
#endif

    // Outside any installation it is a file like any other.
    const std::string outside = f.root / "copy.JAD";
    EXPECT_TRUE(SaveJamGuarded(f.program, jam, outside).installation.empty());
    EXPECT_TRUE(FileExists(outside));
    EXPECT_EQ(points.list().size(), made);
}
