// Reducing true-colour pictures to the game palette, checked against a
// brute-force search with a CIELAB conversion of the test's own.

#include "JamTestFiles.h"
#include "TestSupport.h"

#include "base/FileUtils.h"
#include "formats/Bmp.h"
#include "formats/Jam16Codec.h"
#include "formats/JamPictureFiles.h"
#include "formats/PaletteReduction.h"
#include "formats/Pictures.h"
#include "formats/Png.h"
#include "transfer/ReportedFormats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace pitwall;

namespace {

// CIELAB of an sRGB colour (D65), written out from the textbook formulas.
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

double ReferenceDistance(Pixel x, Pixel y)
{
    auto a = ReferenceLab(x), b = ReferenceLab(y);
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// A palette like the game's: ramps of 16 shades of a few hues, with black
// at 0 and some repeated colours.
Palette RampPalette()
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
    pixels[255] = pixels[254];
    return Palette(pixels);
}

Image RandomPicture(int w, int h, unsigned seed)
{
    std::mt19937 random(seed);
    Image image(w, h, 24);
    for (Pixel& p : image.pixels())
        p = random() & 0xFFFFFFu;
    return image;
}

bool InPalette(const Palette& palette, Pixel p) { return palette.containsPixel(p); }

} // namespace

TEST(PaletteReduction, EveryPixelIsThePalettesNearestColour)
{
    const Palette palette = RampPalette();
    const Image picture = RandomPicture(64, 40, 7);
    const Image reduced = ReduceToPalette(picture, palette, Dithering::None);
    ASSERT_EQ(reduced.width(), 64);
    ASSERT_EQ(reduced.depth(), 8);
    EXPECT_EQ(reduced.colorTable(), palette.table());
    for (std::size_t i = 0; i < picture.pixels().size(); ++i) {
        double best = 1e300;
        for (int k = 0; k < 256; ++k)
            best = std::min(best, ReferenceDistance(picture.pixels()[i], palette.pixel(k)));
        // The two conversions differ in their last digits only.
        EXPECT_NEAR(ReferenceDistance(picture.pixels()[i], reduced.pixels()[i]), best, 0.05) << i;
    }

    // Perceptual, not per channel: a leaf green goes to a yellowish light
    // colour, though a violet is closer by the sum of channel differences.
    Palette two;
    two.setColor(0, ColorRefFromPixel(MakePixel(70, 10, 220)));
    for (int k = 1; k < 256; ++k)
        two.setColor(k, ColorRefFromPixel(MakePixel(240, 240, 160)));
    EXPECT_EQ(two.nearestIndexOfPixel(MakePixel(30, 120, 0)), 0);
    EXPECT_EQ(ReduceToPalette(Image(1, 1, 24, MakePixel(30, 120, 0)), two, Dithering::None).pixel(0, 0),
              MakePixel(240, 240, 160));
}

TEST(PaletteReduction, PaletteColoursStayAndDitheringKeepsTheAverage)
{
    const Palette palette = RampPalette();
    Image exact(256, 2, 24);
    for (int x = 0; x < 256; ++x) {
        exact.setPixel(x, 0, palette.pixel(x));
        exact.setPixel(x, 1, palette.pixel(255 - x));
    }
    EXPECT_EQ(ReduceToPalette(exact, palette, Dithering::None).pixels(), exact.pixels());
    // No error arises, so dithering changes nothing either.
    EXPECT_EQ(ReduceToPalette(exact, palette, Dithering::FloydSteinberg).pixels(), exact.pixels());

    // A grey between two palette greys: plain reduction makes it one of
    // them, dithering mixes both so that the area keeps its brightness.
    Palette bw;
    for (int k = 1; k < 256; ++k)
        bw.setColor(k, ColorRefFromPixel(MakePixel(255, 255, 255)));
    const Image grey(32, 32, 24, MakePixel(100, 100, 100));
    const Image plain = ReduceToPalette(grey, bw, Dithering::None);
    const Image mixed = ReduceToPalette(grey, bw, Dithering::FloydSteinberg);
    double plainSum = 0, mixedSum = 0;
    for (std::size_t i = 0; i < grey.pixels().size(); ++i) {
        ASSERT_TRUE(InPalette(bw, mixed.pixels()[i]));
        plainSum += RedOf(plain.pixels()[i]);
        mixedSum += RedOf(mixed.pixels()[i]);
    }
    EXPECT_TRUE(plainSum == 0 || plainSum == 255.0 * 1024);
    EXPECT_NEAR(mixedSum / 1024, 100, 3);
    EXPECT_TRUE(ReduceToPalette(Image(), bw, Dithering::FloydSteinberg).isNull());
}

TEST(PaletteReduction, DitheringMakesNoBandsAndLeavesPaletteColoursAlone)
{
    const Palette palette = RampPalette();
    // A red-to-yellow gradient with a stripe of a violet-blue across it:
    // the error the stripe leaves dies out within a few rows, so below it
    // the picture looks as it does without the stripe, not a band of
    // another colour.
    auto gradient = [](bool stripe) {
        Image picture(256, 96, 24);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(
                    x, y, stripe && y >= 20 && y < 28 ? MakePixel(40, 0, 255) : MakePixel(233, 40 + x * 160 / 255, 25));
        return picture;
    };
    // The palette reaches no bright blue, as the game's does not: the
    // stripe's error cannot be paid off inside the stripe.
    std::array<Pixel, 256> dull{};
    for (int k = 0; k < 64; ++k) {
        dull[static_cast<std::size_t>(k)] = MakePixel(k * 4, 0, 0);
        dull[static_cast<std::size_t>(64 + k)] = MakePixel(k * 4, k * 4, 0);
        dull[static_cast<std::size_t>(128 + k)] = MakePixel(255, k * 4, k * 2);
        dull[static_cast<std::size_t>(192 + k)] = MakePixel(k, k * 2, k * 2);
    }
    const Palette reduced(dull);
    const Image with = ReduceToPalette(gradient(true), reduced, Dithering::FloydSteinberg);
    const Image without = ReduceToPalette(gradient(false), reduced, Dithering::FloydSteinberg);
    // Each band of 8 rows below the stripe keeps its colour on average.
    for (int y = 36; y + 8 <= with.height(); y += 8) {
        double a[3] = {0, 0, 0}, b[3] = {0, 0, 0};
        for (int dy = 0; dy < 8; ++dy)
            for (int x = 0; x < with.width(); ++x) {
                const Pixel p = with.pixel(x, y + dy), q = without.pixel(x, y + dy);
                a[0] += RedOf(p), a[1] += GreenOf(p), a[2] += BlueOf(p);
                b[0] += RedOf(q), b[1] += GreenOf(q), b[2] += BlueOf(q);
            }
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(a[c] / 2048, b[c] / 2048, 6) << "rows from " << y << ", channel " << c;
    }

    // A sheet in palette colours with one area repainted in colours of its
    // own: only that area changes.
    Image sheet(128, 64, 24);
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            sheet.setPixel(x, y, palette.pixel((x / 4 + y / 4) % 256));
    for (int y = 8; y < 24; ++y)
        for (int x = 8; x < 40; ++x)
            sheet.setPixel(x, y, MakePixel(233, 133 + x, 25 + y));
    const Image repainted = ReduceToPalette(sheet, palette, Dithering::FloydSteinberg);
    int changedOutside = 0;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            if (!(y >= 8 && y < 24 && x >= 8 && x < 40) && repainted.pixel(x, y) != sheet.pixel(x, y))
                ++changedOutside;
    EXPECT_EQ(changedOutside, 0);
}

namespace {

struct JamFixture : test::JamTestContext {
    JamFixture()
    {
        std::vector<std::string> all(1200, "");
        all[219] = "must be 256 x %d";
        texts.assign(all, "");
    }

    TJAMFile eightBit(int height)
    {
        std::vector<test::HandImage> images = {{0, 0, 128, 1, 1, {40, 41}}, {0, 1, 256, 2, 2, {}}};
        std::vector<std::uint8_t> page(256 * static_cast<std::size_t>(height), 0);
        for (std::size_t x = 0; x < 128; ++x)
            page[x] = static_cast<std::uint8_t>(x % 2);
        for (std::size_t i = 256; i < page.size(); ++i)
            page[i] = static_cast<std::uint8_t>(i * 7);
        TJAMFile jam(palette);
        jam.Decode(test::HandJam8(height, images, page), true);
        return jam;
    }

    TJAMFile sixteenBit(int height)
    {
        auto file = test::HandJam16Header(height, {test::HandRecord16(2, 131), test::HandRecord16(2, 131)});
        std::vector<std::uint16_t> words(256 * static_cast<std::size_t>(height));
        for (std::size_t i = 0; i < words.size(); ++i)
            words[i] = static_cast<std::uint16_t>(i * 2654435761u >> 7);
        auto runs = EncodeJamRuns(words);
        file.insert(file.end(), runs.begin(), runs.end());
        TJAMFile jam(palette);
        jam.Decode(file, false);
        return jam;
    }
};

} // namespace

TEST(JamPng, PagesRoundTripExactlyThroughPng)
{
    JamFixture f;
    TJAMFile soft = f.eightBit(5);
    ASSERT_TRUE(SaveJamPage(soft, f.dir / "soft.PNG", &f.messenger));
    Image saved = LoadPngFile(f.dir / "soft.PNG");
    EXPECT_EQ(saved.depth(), 8);
    EXPECT_EQ(saved.colorTable(), f.palette.table());
    TJAMFile softBack = f.eightBit(5);
    softBack.page().fill(0);
    ASSERT_TRUE(LoadJamPage(softBack, f.dir / "soft.PNG", Dithering::FloydSteinberg, &f.messenger));
    EXPECT_EQ(softBack.page(), soft.page());
    EXPECT_EQ(softBack.Assemble(false).Content().size(), soft.Assemble(false).Content().size());
    EXPECT_EQ(softBack.tables(0), soft.tables(0));

    TJAMFile hard = f.sixteenBit(3);
    ASSERT_TRUE(SaveJamPage(hard, f.dir / "hard.png", &f.messenger));
    EXPECT_EQ(LoadPngFile(f.dir / "hard.png").depth(), 24);
    TJAMFile hardBack = f.sixteenBit(3);
    hardBack.page().fill(0);
    ASSERT_TRUE(LoadJamPage(hardBack, f.dir / "hard.png", Dithering::None, &f.messenger));
    EXPECT_EQ(hardBack.page(), hard.page());
    // The assembled files are kept while their contents are compared.
    auto assembledA = hard.Assemble(false);
    auto assembledB = hardBack.Assemble(false);
    auto a = assembledA.Content(), b = assembledB.Content();
    EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end()));
    EXPECT_TRUE(f.sink.shown.empty());
}

TEST(JamPng, TrueColourPngGoesToThePalettesNearestColours)
{
    JamFixture f;
    TJAMFile jam = f.eightBit(4);
    const Image picture = RandomPicture(256, 4, 3);
    SavePngFile(picture, f.dir / "true.png");
    ASSERT_TRUE(LoadJamPage(jam, f.dir / "true.png", Dithering::None, &f.messenger));
    for (std::size_t i = 0; i < picture.pixels().size(); ++i) {
        if (!test::InAnImage(jam, static_cast<int>(i % 256), static_cast<int>(i / 256)))
            continue;
        double best = 1e300;
        for (int k = 0; k < 256; ++k)
            best = std::min(best, ReferenceDistance(picture.pixels()[i], f.palette.pixel(k)));
        ASSERT_NEAR(ReferenceDistance(picture.pixels()[i], jam.page().pixels()[i]), best, 0.05) << i;
    }
    // Image 0's tables list the palette entries its pixels now use.
    EXPECT_GT(jam.entries()[0].tableSize, 2);
}

TEST(JamPng, WrongFilesLeaveThePageAsItWas)
{
    JamFixture f;
    TJAMFile jam = f.eightBit(4);
    const Image before = jam.page();
    SavePngFile(Image(256, 5, 24), f.dir / "tall.png");
    EXPECT_FALSE(LoadJamPage(jam, f.dir / "tall.png", Dithering::None, &f.messenger));
    test::WriteBytes(f.dir / "broken.png", {0x89, 'P', 'N', 'G', 1, 2});
    EXPECT_FALSE(LoadJamPage(jam, f.dir / "broken.png", Dithering::None, &f.messenger));
    EXPECT_FALSE(LoadJamPage(jam, f.dir / "page.gif", Dithering::None, &f.messenger));
    EXPECT_FALSE(SaveJamPage(jam, f.dir / "page.gif", &f.messenger));
    EXPECT_EQ(f.sink.numbers(), (std::vector<int>{219, kPictureUnreadableText, 985, 985}));
    EXPECT_EQ(f.sink.shown[0].text, "must be 256 x 4");
    EXPECT_EQ(jam.page(), before);
    EXPECT_FALSE(FileExists(f.dir / "page.gif"));
}

TEST(JamPng, SaveAsWritesByExtensionFromTheJamInMemory)
{
    JamFixture f;
    TJAMFile jam = f.eightBit(3);
    {
        const TMemFile file = jam.Assemble(true);
        test::WriteBytes(f.dir / "old.jam", std::vector<std::uint8_t>(file.Content().begin(), file.Content().end()));
    }
    // New colours inside image 0 (the page outside every image is not kept).
    Image filled = jam.page();
    for (int x = 0; x < 128; ++x)
        filled.setPixel(x, 0, f.palette.pixel(33 + x % 5));
    ASSERT_TRUE(jam.ReplacePage(filled));
    // The unscrambled copy holds the page as it is now, not the file's.
    ASSERT_TRUE(SaveJamAs(jam, f.dir / "now.jad", &f.messenger));
    TJAMFile copy(f.palette);
    copy.Decode(test::ReadBytes(f.dir / "now.jad"), true);
    EXPECT_EQ(copy.page(), jam.page());
    // .JAM: the scrambled file, read back the same.
    ASSERT_TRUE(SaveJamAs(jam, f.dir / "old.jam", &f.messenger));
    TJAMFile back(f.palette, f.dir / "old.jam");
    EXPECT_EQ(back.page(), jam.page());
    ASSERT_TRUE(SaveJamAs(jam, f.dir / "page.bmp", &f.messenger));
    EXPECT_EQ(LoadBmpFile(f.dir / "page.bmp").depth(), 8);

    // A 16-bit JAM is not scrambled: no .JAD.
    TJAMFile hard = f.sixteenBit(2);
    EXPECT_FALSE(SaveJamAs(hard, f.dir / "hard.jad", &f.messenger));
    EXPECT_FALSE(FileExists(f.dir / "hard.jad"));
    EXPECT_EQ(f.sink.numbers(), std::vector<int>{985});
}
