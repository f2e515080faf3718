#include "CliRunner.h"
#include "TestSupport.h"

#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankGroups.h"
#include "transfer/ReportedFormats.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace pitwall;

namespace {

TEST(TracksCli, ShowPrintsEverySlotAndOneSlotOnRequest)
{
    test::TempDir dir;
    test::MakeDemo(dir / "game", 2, 1);
    auto all = test::RunCommand({"tracks", "show", "--game", dir / "game"});
    ASSERT_EQ(all.code, 0) << all.err;
    EXPECT_NE(all.out.find("Track 16"), std::string::npos);
    EXPECT_NE(all.out.find("track file F1CT16.DAT"), std::string::npos);
    EXPECT_NE(all.out.find("GP3JAMS\\SUZUKAX.JAM  MISSING"), std::string::npos) << all.out;
    EXPECT_NE(all.out.find("GP3JAMS\\ALBERT.JAM  present"), std::string::npos) << all.out;
    EXPECT_NE(all.out.find("3-stop strategy"), std::string::npos);
    auto one = test::RunCommand({"tracks", "show", "--game", dir / "game", "--slot", "5"});
    ASSERT_EQ(one.code, 0) << one.err;
    EXPECT_NE(one.out.find("Track 5"), std::string::npos);
    EXPECT_EQ(one.out.find("Track 6"), std::string::npos);
    EXPECT_EQ(test::RunCommand({"tracks", "show", "--game", dir / "game", "--slot", "17"}).code, 2);
}

TEST(TracksCli, CheckJamsNamesEveryMissingJam)
{
    test::TempDir dir;
    test::MakeDemo(dir / "game", 2, 1);
    auto run = test::RunCommand({"tracks", "check-jams", "--game", dir / "game"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("missing: track 16: GP3JAMS\\SUZUKAX.JAM"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("missing: track 16: GP3JAMSH\\SUZUKAX.JAM"), std::string::npos) << run.err;
    DeleteFileForced(dir / "game/GP3JAMSH/TRKSKY.JAM");
    run = test::RunCommand({"tracks", "check-jams", "--game", dir / "game"});
    EXPECT_EQ(run.code, 1);
    for (int t = 1; t <= 16; ++t)
        EXPECT_NE(run.err.find("track " + std::to_string(t) + ": GP3JAMSH\\TRKSKY.JAM"), std::string::npos) << t;
    EXPECT_EQ(run.err.find("track 1: GP3JAMS\\TRKSKY.JAM"), std::string::npos);
}

// A track file names its JAMs in the game's code page (here "ALB\xC9RT",
// Windows-1252); on disk the name is what a copy of the installation makes
// of it, UTF-8. The JAM is found, carried and written under that name.
TEST(TracksCli, JamNamesBeyondAsciiAreFoundAndWritten)
{
    test::TempDir dir;
    const std::string a = dir / "a", b = dir / "b", carset = dir / "jams.GMS";
    test::MakeDemo(a, 2, 1);
    test::MakeDemo(b, 2, 2);
    const std::string trackFile = ResolveGamePath(a + "/", "CIRCUITS\\F1CT01.DAT");
    const std::vector<std::uint8_t> bytes = test::ReadBytes(trackFile);
    std::string text(bytes.begin(), bytes.end());
    const std::string plain = "GP3JAMS\\ALBERT.JAM";
    const auto at = text.find(plain);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, plain.size(), "GP3JAMS\\ALB\xC9RT.JAM");
    test::WriteBytes(trackFile, {text.begin(), text.end()});
    const std::string accented = "ALB\xC3\x89RT.JAM"; // UTF-8
    for (const std::string folder : {"/GP3JAMS/", "/GP3JAMSH/"})
        std::filesystem::rename(NativePath(a + folder + "ALBERT.JAM"), NativePath(a + folder + accented));

    auto shown = test::RunCommand({"tracks", "show", "--game", a, "--slot", "1"});
    ASSERT_EQ(shown.code, 0) << shown.err;
    EXPECT_NE(shown.out.find("RT.JAM  present\n"), std::string::npos) << shown.out;
    EXPECT_EQ(shown.out.find("missing"), std::string::npos) << shown.out;
    EXPECT_EQ(shown.out.find("MISSING"), std::string::npos) << shown.out;

    // The JAMs travel with the track file and information of their slot.
    auto made = test::RunCommand({"import", "--game", a, "--items", "85,138,167", "-o", carset, "--quiet"});
    ASSERT_EQ(made.code, 0) << made.err;
    auto applied = test::RunCommand({"apply", carset, "--game", b, "--yes", "--quiet"});
    ASSERT_EQ(applied.code, 0) << applied.err;
    ASSERT_TRUE(FileExists(b + "/GP3JAMS/" + accented));
    EXPECT_TRUE(test::ReadBytes(b + "/GP3JAMS/" + accented) == test::ReadBytes(a + "/GP3JAMS/" + accented));
}

TEST(TracksCli, ApplyOfTrackFilesAsksAndStopsWithoutYes)
{
    test::TempDir dir;
    test::MakeDemo(dir / "a", 2, 1);
    test::MakeDemo(dir / "b", 2, 2);
    const std::string carset = dir / "tracks.GMS";
    // Track files and information of all slots, and their JAMs. (The
    // pictures of another installation need not fit this bank's entries;
    // the core tests carry them into an expanded bank.)
    auto made = test::RunCommand({"import", "--game", dir / "a", "--items", "85-100,138-153,167", "-o", carset});
    ASSERT_EQ(made.code, 0) << made.err;
    const auto before = test::ReadBytes(dir / "b/GP3.EXE");
    auto refused = test::RunCommand({"apply", carset, "--game", dir / "b"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("--yes"), std::string::npos) << refused.err;
    EXPECT_TRUE(test::ReadBytes(dir / "b/GP3.EXE") == before);
    auto applied = test::RunCommand({"apply", carset, "--game", dir / "b", "--yes"});
    ASSERT_EQ(applied.code, 0) << applied.err;
    EXPECT_TRUE(test::ReadBytes(dir / "b/CIRCUITS/F1CT07.DAT") == test::ReadBytes(dir / "a/CIRCUITS/F1CT07.DAT"));
    EXPECT_TRUE(test::ReadBytes(dir / "b/GP3JAMS/MONACO.JAM") == test::ReadBytes(dir / "a/GP3JAMS/MONACO.JAM"));
    EXPECT_FALSE(test::ReadBytes(dir / "b/GP3.EXE") == before);
}

// The sections and pictures of a track (item 121) from another installation:
// without room in the art bank the apply asks before writing anything and,
// unanswered, stops; --yes enlarges the entries and all eight pictures go in.
TEST(TracksCli, TrackPicturesGetRoomBeforeAnythingIsWritten)
{
    test::TempDir dir;
    test::MakeDemo(dir / "a", 2, 1);
    test::MakeDemo(dir / "b", 2, 2);
    const std::string carset = dir / "pictures.GMS";
    auto made = test::RunCommand({"import", "--game", dir / "a", "--items", "1,121", "-o", carset});
    ASSERT_EQ(made.code, 0) << made.err;
    const std::string bankA = ResolveGamePath(dir / "a/", kArtBankGamePath);
    const std::string bankB = ResolveGamePath(dir / "b/", kArtBankGamePath);
    const auto exe = test::ReadBytes(dir / "b/GP3.EXE");
    const auto bank = test::ReadBytes(bankB);

    auto refused = test::RunCommand({"apply", carset, "--game", dir / "b", "--items", "1,121"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("GP3ART5.BIN"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--yes"), std::string::npos) << refused.err;
    EXPECT_TRUE(test::ReadBytes(dir / "b/GP3.EXE") == exe);
    EXPECT_TRUE(test::ReadBytes(bankB) == bank);

    auto applied = test::RunCommand({"apply", carset, "--game", dir / "b", "--items", "1,121", "--yes"});
    ASSERT_EQ(applied.code, 0) << applied.err;
    for (std::size_t e : TrackPictureEntryList(0)) {
        ArtPicture inA, inB;
        ASSERT_TRUE(ReadArtImage(bankA, e, inA, nullptr));
        ASSERT_TRUE(ReadArtImage(bankB, e, inB, nullptr));
        EXPECT_TRUE(inA == inB) << e;
    }
}

} // namespace
