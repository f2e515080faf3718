#include "TestSupport.h"

#include "RunCli.h"
#include "DemoContext.h"
#include "base/FileUtils.h"
#include "formats/Bmp.h"
#include "formats/JamFile.h"
#include "formats/JamScramble.h"
#include "formats/Palette.h"
#include "formats/Pictures.h"
#include "formats/Png.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace pitwall;

namespace {

struct Run {
    int code = 0;
    std::string out, err;
};

Run Jam(std::vector<std::string> args)
{
    args.insert(args.begin(), {"pitwall-cli", "jam"});
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out, err;
    cli::CliContext context(out, err, PITWALL_RUNTIME_DIR "/");
    Run r;
    r.code = cli::RunCli(static_cast<int>(argv.size()), argv.data(), context);
    r.out = out.str();
    r.err = err.str();
    return r;
}

struct Textures {
    test::TempDir dir;
    Palette palette = LoadPaletteFile(std::string(PITWALL_RUNTIME_DIR "/") + kPaletteFileName);
    std::string soft, hard;
    Textures()
    {
        demo::DemoContext context;
        context.directory = dir.path();
        demo::WriteJams(context);
        soft = dir / "GP3JAMS/Liveries/JORDAN98.JAM";
        hard = dir / "GP3JAMSH/Liveries/JORDAN98.JAM";
    }
};

} // namespace

TEST(JamCli, InfoListsKindPageAndImages)
{
    Textures t;
    TJAMFile jam(t.palette, t.soft);
    auto r = Jam({"info", t.soft});
    ASSERT_EQ(r.code, 0) << r.err;
    const JamEntry& e = jam.entries()[1];
    std::ostringstream image1;
    image1 << "image 1: x " << int(e.x) << ", y " << e.y << ", w " << e.width << ", h " << e.height << ", texture id "
           << e.textureId << ", table size " << e.tableSize << '\n';
    EXPECT_EQ(r.out.rfind("kind: 8-bit (software)\nimages: " + std::to_string(jam.imageCount())
                              + "\npage height: " + std::to_string(jam.pageHeight()) + "\nimage 0: x 0, y 0,",
                          0),
              0u)
        << r.out;
    EXPECT_NE(r.out.find(image1.str()), std::string::npos) << r.out;

    auto h = Jam({"info", t.hard});
    ASSERT_EQ(h.code, 0);
    EXPECT_EQ(h.out.rfind("kind: 16-bit (hardware)\n", 0), 0u);
}

TEST(JamCli, ToBmpAndBack)
{
    Textures t;
    ASSERT_EQ(Jam({"to-bmp", t.hard, t.dir / "h.bmp", "--quiet"}).code, 0);
    ASSERT_EQ(Jam({"from-bmp", t.hard, t.dir / "h.bmp", "-o", t.dir / "h.jam", "--quiet"}).code, 0);
    TJAMFile original(t.palette, t.hard), back(t.palette, t.dir / "h.jam");
    EXPECT_EQ(back.page(), original.page());

    ASSERT_EQ(Jam({"to-bmp", t.soft, t.dir / "s.bmp", "--quiet"}).code, 0);
    test::WriteBytes(t.dir / "copy.jam", test::ReadBytes(t.soft));
    ASSERT_EQ(Jam({"from-bmp", t.dir / "copy.jam", t.dir / "s.bmp", "--quiet"}).code, 0); // in place
    TJAMFile soft(t.palette, t.soft), copy(t.palette, t.dir / "copy.jam");
    EXPECT_EQ(copy.page(), soft.page());

    // A picture of the other page's size is refused: one line, file kept.
    auto before = test::ReadBytes(t.dir / "copy.jam");
    auto wrong = Jam({"from-bmp", t.dir / "copy.jam", t.dir / "h.bmp"});
    if (soft.pageHeight() != original.pageHeight()) {
        EXPECT_EQ(wrong.code, 1);
        EXPECT_EQ(std::count(wrong.err.begin(), wrong.err.end(), '\n'), 1) << wrong.err;
        EXPECT_EQ(test::ReadBytes(t.dir / "copy.jam"), before);
    }
}

// Any picture a paint program writes goes in: a 24-bit BMP as a PNG of the
// same pixels would, a JPG, a PNG's transparent area on black with one note.
// Kinds that are not read are refused without speaking of a dialog.
TEST(JamCli, FromBmpTakesEveryPictureKind)
{
    Textures t;
    const int h = TJAMFile(t.palette, t.soft).pageHeight();
    Image picture(256, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 256; ++x)
            picture.setPixel(x, y, MakePixel(x, (y * 7) % 256, (x * y) % 256));
    SaveBmpFile(picture, t.dir / "true.bmp");
    SavePngFile(picture, t.dir / "true.png");
    ASSERT_EQ(Jam({"from-bmp", t.soft, t.dir / "true.bmp", "-o", t.dir / "bmp.jam", "--quiet"}).code, 0);
    ASSERT_EQ(Jam({"from-bmp", t.soft, t.dir / "true.png", "-o", t.dir / "png.jam", "--quiet"}).code, 0);
    const TJAMFile fromBmp(t.palette, t.dir / "bmp.jam");
    EXPECT_EQ(fromBmp.page(), TJAMFile(t.palette, t.dir / "png.jam").page());
    for (Pixel p : fromBmp.page().pixels())
        ASSERT_TRUE(t.palette.containsPixel(p));

    SavePicture(picture, t.dir / "photo.JPG");
    auto jpg = Jam({"from-bmp", t.soft, t.dir / "photo.JPG", "-o", t.dir / "jpg.jam"});
    ASSERT_EQ(jpg.code, 0) << jpg.err;
    EXPECT_EQ(jpg.err.find("transparent"), std::string::npos) << jpg.err;

    std::vector<std::uint8_t> alpha(picture.pixels().size(), 255);
    std::fill(alpha.begin(), alpha.begin() + 256, 0); // the top row
    test::WriteRgbaPng(t.dir / "clear.png", picture, alpha);
    auto clear = Jam({"from-bmp", t.soft, t.dir / "clear.png", "-o", t.dir / "clear.jam"});
    ASSERT_EQ(clear.code, 0) << clear.err;
    EXPECT_EQ(clear.err.find(t.dir / "clear.png: transparent pixels were put on black.\n"), 0u) << clear.err;
    EXPECT_EQ(clear.err.find("transparent"), clear.err.rfind("transparent")) << clear.err; // once

    test::WriteBytes(t.dir / "page.gif", {'G', 'I', 'F'});
    const auto before = test::ReadBytes(t.soft);
    auto gif = Jam({"from-bmp", t.soft, t.dir / "page.gif"});
    EXPECT_EQ(gif.code, 1);
    EXPECT_NE(gif.err.find("use a .BMP, .PNG or .JPG picture"), std::string::npos) << gif.err;
    EXPECT_EQ(test::ReadBytes(t.soft), before);
    // Writing to a kind that is not written: the command's own words too.
    auto out = Jam({"to-bmp", t.soft, t.dir / "page.gif"});
    EXPECT_EQ(out.code, 1);
    for (const auto* run : {&gif, &out}) {
        EXPECT_EQ(run->err.find("choose"), std::string::npos) << run->err;
        EXPECT_EQ(run->err.find("offered"), std::string::npos) << run->err;
    }
}

TEST(JamCli, UnscrambleWritesTheJad)
{
    Textures t;
    ASSERT_EQ(Jam({"unscramble", t.soft, t.dir / "s.jad", "--quiet"}).code, 0);
    auto expected = test::ReadBytes(t.soft);
    ScrambleBytes(expected);
    EXPECT_EQ(test::ReadBytes(t.dir / "s.jad"), expected);
    auto hard = Jam({"unscramble", t.hard, t.dir / "h.jad"});
    EXPECT_EQ(hard.code, 1);
    EXPECT_FALSE(FileExists(t.dir / "h.jad"));
}

TEST(JamCli, DamagedAndMissingFilesFailWithOneLine)
{
    Textures t;
    auto bytes = test::ReadBytes(t.hard);
    bytes.resize(bytes.size() / 2);
    test::WriteBytes(t.dir / "cut.jam", bytes);
    auto cut = Jam({"info", t.dir / "cut.jam"});
    EXPECT_EQ(cut.code, 1);
    EXPECT_NE(cut.err.find("not a valid JAM file"), std::string::npos) << cut.err;
    EXPECT_EQ(std::count(cut.err.begin(), cut.err.end(), '\n'), 1);
    EXPECT_EQ(Jam({"info", t.dir / "none.jam"}).code, 1);
    EXPECT_EQ(Jam({"info"}).code, 2);
    EXPECT_EQ(Jam({}).code, 2);
}
