// The workshop commands on generated files: JAM pages through PNG, and the
// export of the whole art bank.

#include "CliRunner.h"
#include "TestSupport.h"

#include "DemoContext.h"
#include "DemoInstallation.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankPictures.h"
#include "formats/JamFile.h"
#include "formats/Palette.h"
#include "formats/Png.h"
#include "transfer/ReportedFormats.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace pitwall;

namespace {

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

TEST(WorkshopsCli, JamPagesGoThroughPngExactly)
{
    Textures t;
    for (const std::string& jamFile : {t.soft, t.hard}) {
        const std::string png = t.dir / "page.png";
        ASSERT_EQ(test::RunCommand({"jam", "to-bmp", jamFile, png, "--quiet"}).code, 0);
        ASSERT_EQ(test::RunCommand({"jam", "from-bmp", jamFile, png, "-o", t.dir / "back.jam", "--quiet"}).code, 0);
        TJAMFile original(t.palette, jamFile), back(t.palette, t.dir / "back.jam");
        EXPECT_EQ(back.page(), original.page()) << jamFile;
        EXPECT_EQ(back.imageCount(), original.imageCount());
    }
    auto gif = test::RunCommand({"jam", "to-bmp", t.soft, t.dir / "page.gif"});
    EXPECT_EQ(gif.code, 1);
    EXPECT_FALSE(FileExists(t.dir / "page.gif"));
}

TEST(WorkshopsCli, TrueColourPngIsReducedToThePaletteWithOrWithoutDithering)
{
    Textures t;
    TJAMFile soft(t.palette, t.soft);
    Image picture(256, soft.pageHeight(), 24);
    std::mt19937 random(5);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < 256; ++x)
            picture.setPixel(x, y, MakePixel(x, y * 255 / picture.height(), static_cast<int>(random() % 64)));
    SavePngFile(picture, t.dir / "true.png");
    const auto before = test::ReadBytes(t.soft);
    for (const char* dither : {"", "--dither"}) {
        std::vector<std::string> args = {"jam", "from-bmp",        t.soft,   t.dir / "true.png",
                                         "-o",  t.dir / "new.jam", "--quiet"};
        if (*dither)
            args.push_back(dither);
        auto r = test::RunCommand(args);
        ASSERT_EQ(r.code, 0) << r.err;
        TJAMFile reduced(t.palette, t.dir / "new.jam");
        for (Pixel p : reduced.page().pixels())
            ASSERT_TRUE(t.palette.containsPixel(p));
    }
    EXPECT_EQ(test::ReadBytes(t.soft), before);

    // A picture of the wrong height: one line, nothing written.
    SavePngFile(Image(256, soft.pageHeight() + 1, 24), t.dir / "tall.png");
    auto tall = test::RunCommand({"jam", "from-bmp", t.soft, t.dir / "tall.png", "-o", t.dir / "tall.jam"});
    EXPECT_EQ(tall.code, 1);
    EXPECT_EQ(std::count(tall.err.begin(), tall.err.end(), '\n'), 1) << tall.err;
    EXPECT_FALSE(FileExists(t.dir / "tall.jam"));
}

TEST(WorkshopsCli, ArtExportAllWritesEveryEntryByNumberAndName)
{
    test::TempDir dir;
    demo::WriteDemoInstallation(dir / "game", {});
    const std::string game = dir / "game";
    const std::string bank = ResolveGamePath(game + "/", "BITMAPS\\GP3ART5.BIN");
    auto r = test::RunCommand({"art", "export-all", dir / "out", "--game", game, "--format", "png"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir / "out")) {
        EXPECT_EQ(e.path().extension(), ".PNG");
        ++files;
    }
    EXPECT_EQ(files, kArtEntryCount);

    // Entry 755 under its number and name holds the entry's picture.
    ArtPicture picture;
    ASSERT_TRUE(ReadArtImage(bank, 755, picture, nullptr));
    bool found = false;
    for (const auto& e : std::filesystem::directory_iterator(dir / "out")) {
        const std::string name = e.path().filename().string();
        if (name.rfind("755 ", 0) != 0)
            continue;
        found = true;
        EXPECT_EQ(LoadPngFile(e.path().string()).pixels(), ArtPictureToImage(picture).pixels()) << name;
    }
    EXPECT_TRUE(found);

    EXPECT_EQ(test::RunCommand({"art", "export-all", dir / "bmp", "--game", game, "--format", "gif"}).code, 2);
    test::WriteBytes(dir / "file", {1});
    auto blocked = test::RunCommand({"art", "export-all", dir / "file/sub", "--game", game});
    EXPECT_EQ(blocked.code, 1);
    EXPECT_EQ(std::count(blocked.err.begin(), blocked.err.end(), '\n'), 1) << blocked.err;
}
