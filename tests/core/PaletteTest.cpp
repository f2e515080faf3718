#include "TestSupport.h"

#include "base/ByteReader.h"
#include "formats/Palette.h"

#include <gtest/gtest.h>
#include <set>

using namespace pitwall;

namespace {

std::string PaletteText(int colours, const std::string& extraLine = "")
{
    std::string text = "JASC-PAL\r\n0100\r\n256\r\n";
    for (int i = 0; i < colours; ++i)
        text += std::to_string(i) + " " + std::to_string(255 - i) + " " + std::to_string(i / 2) + "\r\n";
    return text + extraLine;
}

} // namespace

TEST(Palette, ParsesJascLinesIntoColourRefs)
{
    Palette p = ParsePalette(PaletteText(256));
    // Entry 7 is red 7, green 248, blue 3; as COLORREF red sits in the low byte.
    EXPECT_EQ(p.color(7), 0x0003F807u);
    EXPECT_EQ(p.pixel(7), 0x0007F803u);
    EXPECT_EQ(PixelFromColorRef(0x00112233u), 0x00332211u);
    EXPECT_EQ(ColorRefFromPixel(PixelFromColorRef(0x00ABCDEFu)), 0x00ABCDEFu);
    // The third number may carry blanks; LF-only files work too.
    std::string loose = "JASC-PAL\n0100\n256\n";
    for (int i = 0; i < 256; ++i)
        loose += "1 2  " + std::to_string(i) + "  \n";
    EXPECT_EQ(ParsePalette(loose).pixel(200), MakePixel(1, 2, 200));
}

TEST(Palette, RefusesShortOrMalformedFiles)
{
    EXPECT_THROW(ParsePalette(PaletteText(255)), FormatError);
    EXPECT_THROW(ParsePalette(PaletteText(100) + "1 2 x\r\n" + PaletteText(0)), FormatError);
    EXPECT_THROW(ParsePalette("JASC-PAL\n0100\n256\n256 0 0\n"), FormatError);
    EXPECT_THROW(ParsePalette("JASC-PAL\n0100\n256\n1 2\n"), FormatError);
    // Extra colour lines and trailing blank lines are ignored.
    EXPECT_NO_THROW(ParsePalette(PaletteText(256, "9 9 9\r\n\r\n")));
    EXPECT_THROW(LoadPaletteFile("/nonexistent/GP3 Palette.pal"), std::runtime_error);
}

TEST(Palette, ExactLookupTakesFirstEqualEntryElseZero)
{
    std::array<Pixel, 256> pixels{};
    for (int i = 0; i < 256; ++i)
        pixels[static_cast<std::size_t>(i)] = MakePixel(i, i, 100);
    pixels[200] = MakePixel(5, 5, 100); // entry 5's colour again
    Palette p(pixels);
    EXPECT_EQ(p.exactIndexOfPixel(MakePixel(5, 5, 100)), 5);
    EXPECT_EQ(p.exactIndex(ColorRefFromPixel(MakePixel(9, 9, 100))), 9);
    EXPECT_EQ(p.exactIndexOfPixel(MakePixel(1, 2, 3)), 0);
    EXPECT_FALSE(p.containsPixel(MakePixel(1, 2, 3)));
    EXPECT_TRUE(p.containsPixel(MakePixel(5, 5, 100)));
}

TEST(Palette, NearestLookupTiesTakeTheLowerIndex)
{
    std::array<Pixel, 256> pixels{};
    pixels.fill(MakePixel(255, 255, 255));
    pixels[0] = MakePixel(0, 0, 0);
    pixels[10] = MakePixel(100, 0, 0);
    pixels[11] = MakePixel(120, 0, 0);
    Palette p(pixels);
    // 110 is 10 away from both; the lower index wins.
    EXPECT_EQ(p.nearestIndexOfPixel(MakePixel(110, 0, 0)), 10);
    EXPECT_EQ(p.nearestIndexOfPixel(MakePixel(111, 0, 0)), 11);
    // Distance is the sum of the three differences, not the Euclidean one:
    // (60,0,0) is 60 from index 0 (black) and 40 from index 10.
    EXPECT_EQ(p.nearestIndex(ColorRefFromPixel(MakePixel(60, 0, 0))), 10);
    // The many white entries tie: the first one (1) wins.
    EXPECT_EQ(p.nearestIndexOfPixel(MakePixel(250, 250, 250)), 1);
}

TEST(Palette, ShippedPaletteIsSixteenRampsFromBlack)
{
    Palette p = LoadPaletteFile(std::string(PITWALL_SOURCE_DIR) + "/resources/" + kPaletteFileName);
    EXPECT_EQ(p.pixel(0), 0u);
    // Every ramp runs from dark to light.
    for (int r = 0; r < 16; ++r) {
        auto brightness = [&](int i) { return RedOf(p.pixel(i)) + GreenOf(p.pixel(i)) + BlueOf(p.pixel(i)); };
        for (int k = 1; k < 15; ++k)
            EXPECT_LT(brightness(16 * r + k - 1), brightness(16 * r + k)) << "ramp " << r << " entry " << k;
    }
    // No colour repeats except entry 255, which repeats white (entry 15).
    std::set<Pixel> seen;
    for (int i = 0; i < 255; ++i)
        EXPECT_TRUE(seen.insert(p.pixel(i)).second) << "entry " << i;
    EXPECT_EQ(p.pixel(255), p.pixel(15));
    EXPECT_EQ(p.exactIndexOfPixel(p.pixel(255)), 15);
    // Written back, the file reads the same.
    EXPECT_EQ(ParsePalette(FormatPalette(p)), p);
}
