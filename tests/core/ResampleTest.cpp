#include "formats/Resample.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace pitwall;

// Shrinking blends detail instead of picking every other pixel, growing
// blends neighbours instead of repeating them, and flat areas stay exact.
TEST(Resample, AveragesWhenShrinkingAndInterpolatesWhenGrowing)
{
    // A checkerboard of black and white pixels halves to even grey; nearest
    // neighbour would keep one of the two colours.
    Image checker(8, 6, 24);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? MakePixel(255, 255, 255) : MakePixel(0, 0, 0));
    Image half = ResamplePicture(checker, 4, 3);
    ASSERT_EQ(half.width(), 4);
    ASSERT_EQ(half.height(), 3);
    EXPECT_EQ(half.depth(), 24);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_LE(std::abs(RedOf(half.pixel(x, y)) - 128), 1) << x << "," << y;

    // Blocks of 2 x 2 in four colours halve to exactly those colours.
    const Pixel colours[] = {MakePixel(200, 10, 30), MakePixel(5, 250, 90), MakePixel(60, 70, 80), MakePixel(1, 2, 3)};
    Image blocks(4, 4, 24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            blocks.setPixel(x, y, colours[(y / 2) * 2 + x / 2]);
    Image quarter = ResamplePicture(blocks, 2, 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(quarter.pixel(i % 2, i / 2), colours[i]) << i;

    // Black beside white, four times as wide: a ramp rising from black to
    // white with values in between.
    Image pair(2, 1, 24);
    pair.setPixel(1, 0, MakePixel(255, 255, 255));
    Image wide = ResamplePicture(pair, 8, 2);
    int previous = -1;
    int between = 0;
    for (int x = 0; x < 8; ++x) {
        const int red = RedOf(wide.pixel(x, 0));
        EXPECT_GE(red, previous) << x;
        EXPECT_EQ(wide.pixel(x, 0), wide.pixel(x, 1));
        between += red > 0 && red < 255;
        previous = red;
    }
    EXPECT_EQ(RedOf(wide.pixel(0, 0)), 0);
    EXPECT_EQ(RedOf(wide.pixel(7, 0)), 255);
    EXPECT_GE(between, 4);

    // Growing one axis while shrinking the other, from an 8-bit picture.
    Image indexed(6, 2, 8, MakePixel(9, 99, 199));
    indexed.setColorTable({MakePixel(9, 99, 199)});
    Image mixed = ResamplePicture(indexed, 3, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(mixed.pixel(x, y), MakePixel(9, 99, 199));
}
