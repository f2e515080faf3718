#include "TestSupport.h"

#include "DemoContext.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "base/UITexts.h"
#include "formats/Bmp.h"
#include "formats/Jam16Codec.h"
#include "formats/JamFile.h"
#include "formats/Palette.h"
#include "transfer/ReportedFormats.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

using namespace pitwall;

namespace {

struct GeneratedJams {
    test::TempDir dir;
    Palette palette = LoadPaletteFile(std::string(PITWALL_SOURCE_DIR) + "/resources/" + kPaletteFileName);
    std::vector<std::string> soft, hard;

    GeneratedJams()
    {
        demo::DemoContext context;
        context.directory = dir.path();
        demo::WriteJams(context);
        // Directories must match the mask to be walked, so all is listed.
        for (const auto& f : ListFiles(ResolveGamePath(dir.path(), "GP3JAMS"), "*.*", true, false))
            if (EqualsIgnoreAsciiCase(ExtensionOf(f), ".JAM"))
                soft.push_back(f);
        for (const auto& f : ListFiles(ResolveGamePath(dir.path(), "GP3JAMSH"), "*.*", true, false))
            if (EqualsIgnoreAsciiCase(ExtensionOf(f), ".JAM"))
                hard.push_back(f);
    }
};

// Loads a copy from the file's BMP export and compares pages.
void ExpectBmpRoundTrip(const TJAMFile& jam, const std::string& file, const std::string& bmp)
{
    jam.SaveAsBMP(bmp);
    TJAMFile back = jam;
    back.page().fill(0x123456);
    ASSERT_TRUE(LoadJamFromBmp(back, bmp, nullptr)) << file;
    EXPECT_EQ(back.page(), jam.page()) << file;
}

} // namespace

// Software and hardware textures are checked in two tests so that they can
// run side by side.
TEST(DemoJams, EverySoftwareJamLoadsSavesBackAndConvertsToBmp)
{
    GeneratedJams g;
    // Car, cockpit and two jack liveries of 11 teams, two helmet sheets, four
    // cockpit textures; software only: 9 pit crew, 2 hardware-jack sources,
    // 8 flag marshals, 4 wheels.
    ASSERT_EQ(g.soft.size(), 44u + 2 + 4 + 23);
    EXPECT_TRUE(FileExists(g.dir / "GP3JAMS/Liveries/WILLIA98.JAM"));
    EXPECT_TRUE(FileExists(ResolveGamePath(g.dir.path(), "GP3JAMS\\MAIN\\FLAGS8.JAM")));

    test::RecordingMessages sink;
    UITexts texts;
    Messenger messenger(texts, sink);
    const std::string bmp = g.dir / "page.bmp";
    for (const auto& file : g.soft) {
        TJAMFile jam(g.palette);
        ASSERT_TRUE(LoadJam(jam, file, false, &messenger)) << file;
        EXPECT_TRUE(jam.is8Bit()) << file;
        EXPECT_GT(jam.imageCount(), 0) << file;
        auto saved = jam.Assemble(true);
        EXPECT_TRUE(std::ranges::equal(saved.Content(), test::ReadBytes(file))) << file;
        ExpectBmpRoundTrip(jam, file, bmp);
    }
    EXPECT_TRUE(sink.shown.empty());
}

TEST(DemoJams, EveryHardwareJamLoadsSavesBackAndConvertsToBmp)
{
    GeneratedJams g;
    // The same liveries, helmets and cockpit textures, and the pit box.
    ASSERT_EQ(g.hard.size(), 44u + 2 + 4 + 1);
    EXPECT_TRUE(FileExists(g.dir / "GP3JAMSH/Main/JM-MINA1.JAM"));

    test::RecordingMessages sink;
    UITexts texts;
    Messenger messenger(texts, sink);
    const std::string bmp = g.dir / "page.bmp";
    int gameForm = 0;
    for (const auto& file : g.hard) {
        TJAMFile jam(g.palette);
        ASSERT_TRUE(LoadJam(jam, file, false, &messenger)) << file;
        EXPECT_FALSE(jam.is8Bit()) << file;
        auto once = jam.Assemble(true);
        const std::vector<std::uint8_t> normalised(once.Content().begin(), once.Content().end());
        if (normalised != test::ReadBytes(file))
            ++gameForm;
        TJAMFile again(g.palette);
        again.Decode(normalised, false);
        EXPECT_EQ(again.page(), jam.page()) << file;
        EXPECT_TRUE(std::ranges::equal(again.Assemble(true).Content(), normalised)) << file;
        ExpectBmpRoundTrip(jam, file, bmp);
    }
    // Both header forms occur.
    EXPECT_GT(gameForm, 0);
    EXPECT_LT(gameForm, static_cast<int>(g.hard.size()));
    EXPECT_TRUE(sink.shown.empty());
}

TEST(DemoJams, VariantsMatchAndTablesVary)
{
    GeneratedJams g;
    bool sawNoTables = false, sawSizes = false;
    for (const char* name : {"Liveries\\FERRAR98.JAM", "Liveries\\PA_MINAR.JAM", "Main\\JM-SAUB1.JAM",
                             "Liveries\\Helmetse.JAM", "Main\\STEERB9.JAM"}) {
        TJAMFile soft(g.palette, ResolveGamePath(g.dir.path(), std::string("GP3JAMS\\") + name));
        TJAMFile hard(g.palette, ResolveGamePath(g.dir.path(), std::string("GP3JAMSH\\") + name));
        EXPECT_EQ(soft.imageCount(), hard.imageCount()) << name;
        EXPECT_EQ(soft.pageHeight(), hard.pageHeight()) << name;
        std::set<int> sizes;
        for (const auto& e : soft.entries()) {
            sawNoTables = sawNoTables || e.tableSize == 0;
            sizes.insert(e.tableSize);
        }
        sawSizes = sawSizes || sizes.size() > 2;
    }
    EXPECT_TRUE(sawNoTables);
    EXPECT_TRUE(sawSizes);
    TJAMFile helmets(g.palette, g.dir / "GP3JAMS/Liveries/Helmetsd.JAM");
    EXPECT_EQ(helmets.imageCount(), 12);
    EXPECT_EQ(helmets.pageHeight(), 180);
    EXPECT_EQ(helmets.ImageRect(3), (Rect{128, 30, 256, 60}));
    TJAMFile car(g.palette, g.dir / "GP3JAMS/Liveries/MCLARE98.JAM");
    EXPECT_GE(car.pageHeight(), 256);
    EXPECT_LE(car.pageHeight(), 512);
}

TEST(DemoJams, TyreAndLoadingPictures)
{
    GeneratedJams g;
    for (const char* name : {"TREADGY1_ART.BMP", "TREADGY2_ART.BMP", "TREADBS1_ART.BMP", "TREADBS2_ART.BMP"}) {
        Image p = LoadBmpFile(ResolveGamePath(g.dir.path(), std::string("GP3JAMSH\\TECHJAM\\") + name));
        EXPECT_EQ(p.width(), 320);
        EXPECT_EQ(p.height(), 200);
        EXPECT_EQ(p.depth(), 24);
    }
    for (const char* name : {"WHBLUR0.BMP", "WHBLUR1.BMP", "WHBRIDG0.BMP", "WHBRIDG1.BMP"}) {
        Image p = LoadBmpFile(ResolveGamePath(g.dir.path(), std::string("GP3JAMSH\\TECHJAM\\") + name));
        EXPECT_EQ(p.width(), 640);
        EXPECT_EQ(p.height(), 480);
    }
    for (int n = 1; n <= 6; ++n) {
        Image p = LoadBmpFile(ResolveGamePath(g.dir.path(), "BITMAPS\\LOADING" + std::to_string(n) + ".BMP"));
        EXPECT_EQ(p.width(), 640);
        EXPECT_EQ(p.height(), 480);
        EXPECT_EQ(p.depth(), 8);
        EXPECT_NE(p.pixel(0, 0), p.pixel(320, 240));
    }
}
