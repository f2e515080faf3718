// "Load graphic from picture" into the team JAMs and the JAM workshop's
// page: BMP, PNG and JPG, true-colour pictures reduced to the game palette
// for the software JAMs, checked against a brute-force nearest-colour search
// written out here; transparent PNG areas on black.

#include "JamTestFiles.h"
#include "TestSupport.h"

#include "app/Language.h"
#include "formats/Bmp.h"
#include "formats/GameInstallation.h"
#include "formats/JamPictureFiles.h"
#include "formats/Pictures.h"
#include "formats/Png.h"
#include "graphics/PictureIntoJam.h"
#include "transfer/ReportedFormats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

using namespace pitwall;

namespace {

// CIELAB of an sRGB colour (D65 white), from the textbook formulas.
std::array<double, 3> ReferenceLab(Pixel p)
{
    auto lin = [](int v) {
        double c = v / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    double r = lin(RedOf(p)), g = lin(GreenOf(p)), b = lin(BlueOf(p));
    double xyz[3] = {(0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.9505, 0.2126 * r + 0.7152 * g + 0.0722 * b,
                     (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.0890};
    double f[3];
    for (int i = 0; i < 3; ++i)
        f[i] = xyz[i] > 216.0 / 24389 ? std::cbrt(xyz[i]) : (24389.0 / 27 * xyz[i] + 16) / 116;
    return {116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

double Distance(const std::array<double, 3>& a, const std::array<double, 3>& b)
{
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// A palette shaped like the game's: sixteen ramps of sixteen shades.
Palette GamelikePalette()
{
    std::array<Pixel, 256> pixels{};
    const int hues[16][3] = {{255, 255, 255}, {255, 0, 0},     {0, 255, 0},     {0, 0, 255},
                             {255, 255, 0},   {0, 255, 255},   {255, 0, 255},   {255, 128, 0},
                             {128, 64, 32},   {64, 128, 200},  {200, 180, 140}, {90, 90, 110},
                             {30, 120, 60},   {250, 200, 210}, {120, 0, 60},    {60, 60, 60}};
    for (int r = 0; r < 16; ++r)
        for (int k = 0; k < 16; ++k)
            pixels[static_cast<std::size_t>(16 * r + k)] =
                MakePixel(hues[r][0] * (k + 1) / 16, hues[r][1] * (k + 1) / 16, hues[r][2] * (k + 1) / 16);
    pixels[0] = 0;
    return Palette(pixels);
}

// True colour, none of it (almost surely) in the palette: a pool of random
// colours spread over the picture so the brute-force search stays quick.
Image TrueColourPicture(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<Pixel> pool(211);
    for (Pixel& p : pool)
        p = random() & 0xFFFFFFu;
    Image picture(width, height, 24);
    for (Pixel& p : picture.pixels())
        p = pool[random() % pool.size()];
    return picture;
}

// One synthetic installation for all tests of this file: they only read it.
const std::string& DemoGame()
{
    static test::TempDir root;
    static const std::string game = [] {
        std::string directory = root / "game/";
        test::MakeDemo(directory);
        return directory;
    }();
    return game;
}

struct Fixture : test::JamTestContext {
    Fixture() { palette = GamelikePalette(); }
    // A JAM the generator made for a synthetic installation.
    TJAMFile demoJam(const std::string& gameRelative, bool hardware = false)
    {
        const std::string root = hardware ? "GP3JAMSH\\" : "GP3JAMS\\";
        TJAMFile jam(palette);
        EXPECT_TRUE(LoadJam(jam, GameFilePath(DemoGame(), root + gameRelative), false, &messenger));
        return jam;
    }
};

} // namespace

TEST(PictureIntoJam, TrueColourPngIntoSoftwareLiveryTakesTheNearestPaletteColours)
{
    Fixture f;
    TJAMFile livery = f.demoJam("Liveries\\WILLIA98.JAM");
    ASSERT_TRUE(livery.is8Bit());
    ASSERT_GT(livery.pageHeight(), 0);
    const Image picture = TrueColourPicture(256, livery.pageHeight(), 11);
    SavePngFile(picture, f.dir / "livery.png");

    ASSERT_TRUE(LoadPictureIntoJam(livery, f.dir / "livery.png", Dithering::None, &f.messenger));
    EXPECT_TRUE(f.sink.numbers().empty());

    std::array<std::array<double, 3>, 256> paletteLab{};
    for (int k = 0; k < 256; ++k)
        paletteLab[static_cast<std::size_t>(k)] = ReferenceLab(f.palette.pixel(k));
    std::map<Pixel, std::array<double, 3>> labs;
    auto lab = [&](Pixel p) {
        auto [at, fresh] = labs.try_emplace(p);
        if (fresh)
            at->second = ReferenceLab(p);
        return at->second;
    };
    std::map<Pixel, double> nearest; // colour -> distance of the nearest palette colour
    const Image& page = livery.page();
    ASSERT_EQ(page.pixels().size(), picture.pixels().size());
    for (std::size_t i = 0; i < page.pixels().size(); ++i) {
        if (!test::InAnImage(livery, static_cast<int>(i % 256), static_cast<int>(i / 256))) {
            ASSERT_EQ(page.pixels()[i], Pixel{0}) << "pixel " << i << " lies in no image";
            continue;
        }
        const Pixel wanted = picture.pixels()[i];
        auto [at, fresh] = nearest.try_emplace(wanted, 1e300);
        if (fresh)
            for (const auto& entry : paletteLab)
                at->second = std::min(at->second, Distance(lab(wanted), entry));
        const Pixel got = page.pixels()[i];
        ASSERT_TRUE(f.palette.containsPixel(got)) << i;
        // Our conversion and the program's differ in their last digits only.
        ASSERT_NEAR(Distance(lab(wanted), lab(got)), at->second, 0.05) << "pixel " << i;
    }
    // Saved and loaded again, the reduced page stays exactly as it is, with
    // dithering chosen or not.
    SavePngFile(page, f.dir / "again.png");
    const Image reduced = page;
    ASSERT_TRUE(LoadPictureIntoJam(livery, f.dir / "again.png", Dithering::FloydSteinberg, &f.messenger));
    EXPECT_EQ(livery.page().pixels(), reduced.pixels());
}

TEST(PictureIntoJam, DitheringStaysInThePaletteAndTrueColourBmpsAreReducedToo)
{
    Fixture f;
    TJAMFile cockpit = f.demoJam("Liveries\\PA_WILLS.JAM");
    const int h = cockpit.pageHeight();
    // A smooth grey ramp: plain reduction bands it, dithering mixes shades.
    Image ramp(256, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 256; ++x)
            ramp.setPixel(x, y, MakePixel(x / 2 + 20, x / 2 + 20, x / 2 + 24));
    SaveBmpFile(ramp, f.dir / "ramp.bmp");
    ASSERT_TRUE(LoadPictureIntoJam(cockpit, f.dir / "ramp.bmp", Dithering::None, &f.messenger));
    const Image plain = cockpit.page();
    ASSERT_TRUE(LoadPictureIntoJam(cockpit, f.dir / "ramp.bmp", Dithering::FloydSteinberg, &f.messenger));
    const Image dithered = cockpit.page();
    EXPECT_NE(plain.pixels(), dithered.pixels());
    for (Pixel p : dithered.pixels())
        ASSERT_TRUE(f.palette.containsPixel(p));
    EXPECT_TRUE(f.sink.numbers().empty());
}

// The workshop's and `jam from-bmp`'s way in: a true-colour BMP and a JPG (any
// letter case, .JPEG too) are reduced exactly as a PNG of the same pixels.
TEST(PictureIntoJam, TrueColourBmpsAndJpgsAreReducedLikePngs)
{
    Fixture f;
    TJAMFile livery = f.demoJam("Liveries\\WILLIA98.JAM");
    const Image picture = TrueColourPicture(256, livery.pageHeight(), 23);
    SavePngFile(picture, f.dir / "page.png");
    ASSERT_TRUE(LoadJamPage(livery, f.dir / "page.png", Dithering::FloydSteinberg, &f.messenger));
    const Image fromPng = livery.page();

    SaveBmpFile(picture, f.dir / "page.bmp");
    ASSERT_EQ(LoadBmpFile(f.dir / "page.bmp").depth(), 24);
    livery = f.demoJam("Liveries\\WILLIA98.JAM");
    ASSERT_TRUE(LoadJamPage(livery, f.dir / "page.bmp", Dithering::FloydSteinberg, &f.messenger));
    EXPECT_EQ(livery.page(), fromPng);

    // A JPG changes the colours a little: the page is the reduction of what
    // the file decodes to, inside the images, and in palette colours only.
    SavePicture(picture, f.dir / "page.jpg");
    test::WriteBytes(f.dir / "page.Jpeg", test::ReadBytes(f.dir / "page.jpg"));
    const Image decoded = LoadPicture(f.dir / "page.jpg");
    const Image reduced = ReduceToPalette(decoded, f.palette, Dithering::None);
    for (const char* name : {"page.jpg", "page.Jpeg"}) {
        livery = f.demoJam("Liveries\\WILLIA98.JAM");
        ASSERT_TRUE(LoadJamPage(livery, f.dir / name, Dithering::None, &f.messenger)) << name;
        for (int y = 0; y < livery.pageHeight(); ++y)
            for (int x = 0; x < 256; ++x)
                if (test::InAnImage(livery, x, y)) {
                    ASSERT_EQ(livery.page().pixel(x, y), reduced.pixel(x, y)) << name << " " << x << "," << y;
                }
    }
    EXPECT_TRUE(f.sink.numbers().empty());
}

// A PNG with a transparent area: black there, the rest as painted, and one
// message for the file; an opaque RGBA PNG says nothing.
TEST(PictureIntoJam, TransparentAreasGoOnBlackAndAreToldOnce)
{
    Fixture f;
    TJAMFile livery = f.demoJam("Liveries\\WILLIA98.JAM");
    const int h = livery.pageHeight();
    Image picture(256, h, 24, MakePixel(250, 2, 3)); // near a red
    std::vector<std::uint8_t> alpha(picture.pixels().size(), 255);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 128; ++x)
            alpha[static_cast<std::size_t>(y * 256 + x)] = x < 64 ? 0 : 1;
    test::WriteRgbaPng(f.dir / "half.png", picture, alpha);

    ASSERT_TRUE(LoadPictureIntoJam(livery, f.dir / "half.png", Dithering::None, &f.messenger));
    EXPECT_EQ(f.sink.numbers(), std::vector<int>{kTransparentOnBlackText});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 256; ++x)
            if (test::InAnImage(livery, x, y)) {
                ASSERT_EQ(livery.page().pixel(x, y), x < 128 ? Pixel{0} : f.palette.pixel(31)) << x << "," << y;
            }

    // The workshop's way in tells it as well; a refused picture does not.
    TJAMFile again = f.demoJam("Liveries\\WILLIA98.JAM");
    ASSERT_TRUE(LoadJamPage(again, f.dir / "half.png", Dithering::None, &f.messenger));
    EXPECT_EQ(again.page(), livery.page());
    test::WriteRgbaPng(f.dir / "small.png", Image(256, 1, 24), std::vector<std::uint8_t>(256, 0));
    EXPECT_FALSE(LoadJamPage(again, f.dir / "small.png", Dithering::None, &f.messenger));
    EXPECT_EQ(f.sink.numbers(), (std::vector<int>{kTransparentOnBlackText, kTransparentOnBlackText, 219}));

    f.sink.shown.clear();
    test::WriteRgbaPng(f.dir / "opaque.png", picture, std::vector<std::uint8_t>(alpha.size(), 255));
    ASSERT_TRUE(LoadPictureIntoJam(livery, f.dir / "opaque.png", Dithering::None, &f.messenger));
    EXPECT_TRUE(f.sink.numbers().empty());
}

TEST(PictureIntoJam, PairsSplitAtTheFirstPageAndRefusalsLeaveBothPages)
{
    Fixture f;
    TJAMFile second = f.demoJam("Main\\JM-WILL1.JAM");
    TJAMFile first = f.demoJam("Main\\JM-WILLI.JAM");
    const int h1 = second.pageHeight(), h2 = first.pageHeight();
    Image both(256, h1 + h2, 24);
    both.fillRect(Rect{0, 0, 256, h1}, MakePixel(250, 2, 3));       // near a red
    both.fillRect(Rect{0, h1, 256, h1 + h2}, MakePixel(3, 3, 250)); // near a blue
    SavePngFile(both, f.dir / "jacks.png");
    ASSERT_TRUE(LoadPictureIntoJamPair(second, first, f.dir / "jacks.png", Dithering::None, &f.messenger));
    const auto [sx, sy] = test::MiddleOf(second, second.imageCount() - 1);
    EXPECT_EQ(second.page().pixel(sx, sy), f.palette.pixel(31));
    const auto [fx, fy] = test::MiddleOf(first, 0);
    EXPECT_EQ(first.page().pixel(fx, fy), f.palette.pixel(63));

    const Image top = second.page(), bottom = first.page();
    SavePngFile(Image(256, h1, 24), f.dir / "short.png");
    EXPECT_FALSE(LoadPictureIntoJamPair(second, first, f.dir / "short.png", Dithering::None, &f.messenger));
    test::WriteBytes(f.dir / "broken.png", {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0});
    EXPECT_FALSE(LoadPictureIntoJamPair(second, first, f.dir / "broken.png", Dithering::None, &f.messenger));
    test::WriteBytes(f.dir / "jacks.gif", {'G', 'I', 'F'});
    EXPECT_FALSE(LoadPictureIntoJamPair(second, first, f.dir / "jacks.gif", Dithering::None, &f.messenger));
    EXPECT_EQ(f.sink.numbers(), (std::vector<int>{219, kPictureUnreadableText, 985}));
    EXPECT_EQ(second.page(), top);
    EXPECT_EQ(first.page(), bottom);
}

TEST(PictureIntoJam, HardwareJamsTakeColoursAndRefuseEightBitBmps)
{
    Fixture f;
    TJAMFile livery = f.demoJam("Liveries\\WILLIA98.JAM", true);
    ASSERT_FALSE(livery.is8Bit());
    const Image picture = TrueColourPicture(256, livery.pageHeight(), 5);
    SavePngFile(picture, f.dir / "hard.PNG"); // any letter case
    ASSERT_TRUE(LoadPictureIntoJam(livery, f.dir / "hard.PNG", Dithering::FloydSteinberg, &f.messenger));
    EXPECT_EQ(livery.page().pixels(), picture.pixels());

    const Image before = livery.page();
    SaveBmpFile(Image(256, livery.pageHeight(), 8), f.dir / "flat.bmp");
    EXPECT_FALSE(LoadPictureIntoJam(livery, f.dir / "flat.bmp", Dithering::None, &f.messenger));
    EXPECT_EQ(f.sink.numbers(), std::vector<int>{218});
    EXPECT_EQ(livery.page(), before);
}

// A picture that cannot be read is reported wholly in the interface's
// language: the reason too, not the decoder's English.
TEST(PictureIntoJam, UnreadablePicturesAreReportedInTheInterfacesLanguage)
{
    Fixture f;
    TJAMFile livery = f.demoJam("Liveries\\WILLIA98.JAM");
    UITexts german;
    test::RecordingMessages sink;
    ASSERT_TRUE(LoadLanguage(PITWALL_RUNTIME_DIR, "DEUTSCH.LNG", german, sink));
    Messenger messenger(german, sink);

    test::WriteText(f.dir / "text.bmp", "no picture at all");
    std::vector<std::uint8_t> deep = EncodeBmp(Image(256, livery.pageHeight(), 24));
    deep[28] = 7; // bits per pixel
    test::WriteBytes(f.dir / "deep.bmp", deep);
    std::vector<std::uint8_t> cut = EncodePng(Image(256, livery.pageHeight(), 24));
    cut.resize(60);
    test::WriteBytes(f.dir / "cut.png", cut);
    const std::pair<const char*, int> cases[] = {{"text.bmp", 159}, {"deep.bmp", 160}, {"cut.png", 161}};
    for (const auto& [name, reason] : cases) {
        sink.shown.clear();
        EXPECT_FALSE(LoadPictureIntoJam(livery, f.dir / name, Dithering::None, &messenger));
        ASSERT_EQ(sink.shown.size(), 1u) << name;
        EXPECT_EQ(sink.shown[0].text, german.format(kPictureUnreadableText, Args(f.dir / name, german.text(reason))));
    }
}
