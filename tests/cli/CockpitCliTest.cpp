#include "CliRunner.h"
#include "TestSupport.h"

#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "cockpit/CockpitGraphics.h"

#include <gtest/gtest.h>

#include <map>

using namespace pitwall;

namespace {

// Where the cockpit data lies in GP3.EXE of v1.00 and v1.13: the 62 object
// records of 16 bytes, and the 13 LCD text slots of 4 bytes (left and top
// in the first two) with the shared height at U and the width at U + 4.
struct CockpitOffsets {
    std::size_t objects, textSlots, height;
};
constexpr CockpitOffsets kV100{0x180C4C, 0x180784, 0x1807CC};
constexpr CockpitOffsets kV113{0x181FCC, 0x181B04, 0x181B4C};

std::vector<std::pair<std::size_t, std::size_t>> CockpitRanges(const CockpitOffsets& o)
{
    std::vector<std::pair<std::size_t, std::size_t>> ranges = {{o.objects, 62 * 16}, {o.height, 1}, {o.height + 4, 1}};
    for (std::size_t k = 0; k < 13; ++k)
        ranges.push_back({o.textSlots + 4 * k, 2});
    return ranges;
}

const char* const kThreeDNames[] = {"DEUTSCH.3D",  "ENGLISH.3D",          "ESPAñOL.3D", "FRANçAIS.3D",
                                    "ITALIANO.3D", "AMERICAN_ENGLISH.3D", "POLSKI.3D",  "PORTUGUês.3D"};

// A path below the installation without the installation's part.
std::string Relative(const std::string& game, const std::string& path)
{
    std::string rest = path.substr(game.size());
    while (!rest.empty() && rest.front() == '/')
        rest.erase(0, 1);
    return rest;
}

// Every file below the installation (relative path -> bytes), the savegame
// left out (its checksum is rewritten on every export).
std::map<std::string, std::vector<std::uint8_t>> Snapshot(const std::string& game)
{
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const std::string& f : ListFiles(game, "*", true, false))
        if (FileNameOf(f) != "F1GSTATE.SAV")
            files[Relative(game, f)] = test::ReadBytes(f);
    return files;
}

std::string ThreeD(const std::string& game, int language)
{
    return ResolveGamePath(game, std::string("LDATA\\") + kThreeDNames[language]);
}

void ExpectChecksumValid(const std::string& game)
{
    auto checksum = test::RunCommand({"checksum", "--game", game});
    EXPECT_EQ(checksum.out.substr(10, 8), checksum.out.substr(checksum.out.find("computed:") + 10, 8));
}

} // namespace

TEST(CockpitCli, CarsetTakesEveryCockpitItemFromOneInstallationToAnother)
{
    test::TempDir dir;
    const std::string a = dir / "A/", b = dir / "B/", carset = dir / "c.GMS";
    test::MakeDemo(a, 2, 1);
    test::MakeDemo(b, 2, 2);
    const auto exeA = test::ReadBytes(a + "GP3.EXE");
    auto before = Snapshot(b);
    auto run = test::RunCommand({"import", "--game", a, "--items", "7,8,78,118,191-198", "-o", carset, "--quiet"});
    ASSERT_EQ(run.code, 0) << run.err;
    auto list = test::RunCommand({"carset", "list", carset});
    for (const char* member : {"Cockpit.DAT  1116", "LCDTexts.DAT  28", "LCDDisplay0.DAT  79380",
                               "LCDDisplay7.DAT  79380", "CockpitSoftware1.JAM", "CockpitHardware4.JAM"})
        EXPECT_NE(list.out.find(member), std::string::npos) << member;

    run = test::RunCommand({"apply", carset, "--game", b, "--quiet"});
    ASSERT_EQ(run.code, 0) << run.err;
    auto after = Snapshot(b);
    // B's cockpit positions are A's; every other byte of GP3.EXE is B's own.
    std::vector<std::uint8_t> expected = before.at("GP3.EXE");
    for (auto [offset, length] : CockpitRanges(kV113))
        std::copy_n(exeA.begin() + static_cast<std::ptrdiff_t>(offset), length,
                    expected.begin() + static_cast<std::ptrdiff_t>(offset));
    EXPECT_TRUE(after.at("GP3.EXE") == expected);
    EXPECT_NE(before.at("GP3.EXE"), expected);
    // The .3D files are A's (the generator writes them as the program does);
    // the cockpit JAMs are A's files byte for byte; nothing else changed.
    for (int set = 0; set < 2; ++set)
        for (int slot = 0; slot < kCockpitJamCount; ++slot) {
            const std::string file = Relative(b, ResolveGamePath(b, CockpitJamGamePath(set, slot)));
            EXPECT_EQ(after.at(file), test::ReadBytes(ResolveGamePath(a, CockpitJamGamePath(set, slot)))) << file;
            before.erase(file);
            after.erase(file);
        }
    for (int l = 0; l < 8; ++l) {
        EXPECT_EQ(test::ReadBytes(ThreeD(b, l)), test::ReadBytes(ThreeD(a, l))) << l;
        EXPECT_NE(before.at(Relative(b, ThreeD(b, l))), test::ReadBytes(ThreeD(a, l)));
        before.erase(Relative(b, ThreeD(b, l)));
        after.erase(Relative(b, ThreeD(b, l)));
    }
    before.erase("GP3.EXE");
    after.erase("GP3.EXE");
    EXPECT_TRUE(after == before);
    ExpectChecksumValid(b);

    // Import then export on an untouched installation changes nothing.
    const auto untouched = Snapshot(a);
    ASSERT_EQ(test::RunCommand({"apply", carset, "--game", a, "--quiet"}).code, 0);
    EXPECT_TRUE(Snapshot(a) == untouched);
}

TEST(CockpitCli, LanguagesGoOnTheirOwnAndOldVersionsKeepTheirFiveFiles)
{
    test::TempDir dir;
    const std::string a = dir / "A/", b = dir / "B/", old = dir / "OLD/", carset = dir / "c.GMS";
    test::MakeDemo(a, 2, 1);
    test::MakeDemo(b, 2, 2);
    test::MakeDemo(old, 1, 2);
    ASSERT_EQ(test::RunCommand({"import", "--game", a, "--items", "191-198", "-o", carset, "--quiet"}).code, 0);

    // Only the English display, without the first language's item.
    const auto germanB = test::ReadBytes(ThreeD(b, 0));
    auto run = test::RunCommand({"apply", carset, "--game", b, "--items", "192", "--quiet"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(test::ReadBytes(ThreeD(b, 1)), test::ReadBytes(ThreeD(a, 1)));
    EXPECT_EQ(test::ReadBytes(ThreeD(b, 0)), germanB);

    // v1.00 has five languages: their files are written, no others made.
    run = test::RunCommand({"apply", carset, "--game", old, "--quiet"});
    EXPECT_EQ(run.code, 0) << run.err;
    for (int l = 0; l < 5; ++l)
        EXPECT_EQ(test::ReadBytes(ThreeD(old, l)), test::ReadBytes(ThreeD(a, l))) << l;
    for (int l = 5; l < 8; ++l)
        EXPECT_FALSE(FileExists(ThreeD(old, l))) << l;
    // v1.00 reads all five and has none of the other three: those are not
    // transferred and not counted as failures.
    const std::string oldCarset = dir / "old.GMS";
    run = test::RunCommand({"import", "--game", old, "--items", "191-198", "-o", oldCarset, "--quiet"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("item 196"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("item 195"), std::string::npos) << run.err;
    // Named alone, an item the version lacks is a command that does nothing.
    EXPECT_NE(test::RunCommand({"import", "--game", old, "--items", "196", "-o", dir / "x.GMS", "--quiet"}).code, 0);
    EXPECT_FALSE(FileExists(dir / "x.GMS"));
    auto list = test::RunCommand({"carset", "list", oldCarset});
    EXPECT_NE(list.out.find("LCDDisplay4.DAT"), std::string::npos) << list.out;
    EXPECT_EQ(list.out.find("LCDDisplay5.DAT"), std::string::npos) << list.out;
    ExpectChecksumValid(old);
}

TEST(CockpitCli, LcdFilesOutAndInRefusingBrokenLines)
{
    test::TempDir dir;
    const std::string game = dir / "G/", out = dir / "out.3D", in = dir / "in.3D";
    test::MakeDemo(game, 2, 4);
    auto run = test::RunCommand({"cockpit", "lcd", "export", "--game", game, "--language", "english", out});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(test::ReadBytes(out), test::ReadBytes(ThreeD(game, 1)));

    const auto original = test::ReadBytes(ThreeD(game, 1));
    test::WriteText(in, "BEST_TEXT:\r\n\tDB\t0,1,2,3,4,\"NEW BEST\",5\r\nSPLIT_TEXT:\r\n\tDB\t0,1,2,3,999,\"X\",5\r\n");
    run = test::RunCommand({"cockpit", "lcd", "import", "--game", game, "--language", "ENGLISH", in});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("line 4"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("999 is larger than 255"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("0,1,2,3,999,\"X\",5"), std::string::npos) << run.err;
    EXPECT_EQ(test::ReadBytes(ThreeD(game, 1)), original);

    test::WriteText(in, "; only one screen changes\nBEST_TEXT:\n DB 0, 1, 2, 3, 4, \"NEW BEST\", 5\n");
    run = test::RunCommand({"cockpit", "lcd", "import", "--game", game, "--language", "ENGLISH", in, "--quiet"});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string now = test::ReadText(ThreeD(game, 1));
    EXPECT_NE(now.find("BEST_TEXT:\r\n\r\n\tDB\t0,1,2,3,4,\"NEW BEST\",5\r\n\tDB\t-1\r\n\r\nSPLIT_TEXT:"),
              std::string::npos);
    // The other screens are as they were.
    const std::string before(original.begin(), original.end());
    EXPECT_EQ(now.substr(now.find("SPLIT_TEXT:")), before.substr(before.find("SPLIT_TEXT:")));
    EXPECT_EQ(now.substr(0, now.find("BEST_TEXT:")), before.substr(0, before.find("BEST_TEXT:")));
    EXPECT_NE(test::RunCommand({"cockpit", "lcd", "export", "--game", game, "--language", "KLINGON", out}).code, 0);
}

TEST(CockpitCli, LcdFilesWithoutAScreenBlockAreRefused)
{
    test::TempDir dir;
    const std::string game = dir / "G/", in = dir / "in.3D";
    test::MakeDemo(game, 2, 4);
    const auto before = Snapshot(game);
    std::vector<std::uint8_t> random(4096);
    std::uint32_t state = 12345;
    for (auto& b : random) {
        state = state * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(state >> 24);
    }
    // Empty, all zeros, random, and an element line outside any screen.
    const std::vector<std::vector<std::uint8_t>> files = {
        {}, std::vector<std::uint8_t>(4096, 0), random, {'\t', 'D', 'B', ' ', '1', '\n'}};
    for (std::size_t i = 0; i < files.size(); ++i) {
        test::WriteBytes(in, files[i]);
        auto run = test::RunCommand({"cockpit", "lcd", "import", "--game", game, "--language", "ENGLISH", in});
        EXPECT_EQ(run.code, 1) << i;
        EXPECT_NE(run.err.find("holds no LCD screen block"), std::string::npos) << i << ": " << run.err;
        EXPECT_EQ(Snapshot(game), before) << i;
    }
}

TEST(CockpitCli, RenderDrawsTheLcdAsPng)
{
    test::TempDir dir;
    const std::string game = dir / "G/", png = dir / "lcd.png";
    test::MakeDemo(game, 2, 5);
    auto run = test::RunCommand(
        {"cockpit", "render", "--game", game, "--language", "ENGLISH", "--screen", "driving_race_text", png});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto bytes = test::ReadBytes(png);
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
    // IHDR: 290 x 130.
    EXPECT_EQ(bytes[18], 290 >> 8);
    EXPECT_EQ(bytes[19], 290 & 0xFF);
    EXPECT_EQ(bytes[23], 130);
    EXPECT_NE(
        test::RunCommand({"cockpit", "render", "--game", game, "--language", "ENGLISH", "--screen", "NOPE", png}).code,
        0);
}
