#include "TestSupport.h"

#include "base/ByteWriter.h"
#include "base/FileUtils.h"
#include "base/Messages.h"
#include "base/UITexts.h"
#include "formats/Bmp.h"
#include "menu/MenuArt.h"
#include "menu/MenuPictureFiles.h"

#include <gtest/gtest.h>

using namespace pitwall;

namespace {

// A 640 x 480 run-length coded 8-bit BMP: row y is index y % 4 all along.
std::vector<std::uint8_t> RleLoadingPicture()
{
    ByteWriter w;
    w.u8('B');
    w.u8('M');
    w.u32(0);
    w.u32(0);
    w.u32(54 + 4 * 4);
    w.u32(40);
    w.i32(640);
    w.i32(480);
    w.u16(1);
    w.u16(8);
    w.u32(1); // RLE8
    w.zeros(12);
    w.u32(4);
    w.u32(0);
    for (Pixel p : {MakePixel(10, 20, 30), MakePixel(200, 0, 0), MakePixel(0, 200, 0), MakePixel(0, 0, 200)}) {
        w.u8(static_cast<std::uint8_t>(BlueOf(p)));
        w.u8(static_cast<std::uint8_t>(GreenOf(p)));
        w.u8(static_cast<std::uint8_t>(RedOf(p)));
        w.u8(0);
    }
    for (int row = 0; row < 480; ++row) {
        for (int run : {255, 255, 130}) {
            w.u8(static_cast<std::uint8_t>(run));
            w.u8(static_cast<std::uint8_t>(row % 4));
        }
        w.u8(0);
        w.u8(0);
    }
    w.u8(0);
    w.u8(1);
    return w.take();
}

} // namespace

// The game reads loading pictures as they stand in the working directory:
// a plain BMP of the right size goes there byte for byte, any other form of
// BMP is written anew in the plain form.
TEST(MenuPictureFiles, LoadingPicturesReachTheGameAsPlainBmps)
{
    test::TempDir dir;
    UITexts texts;
    test::RecordingMessages sink;
    Messenger messenger(texts, sink);

    test::WriteBytes(dir / "coded.bmp", RleLoadingPicture());
    ASSERT_FALSE(IsPlainBmp(test::ReadBytes(dir / "coded.bmp")));
    ASSERT_TRUE(TakeInLoadingPicture(dir.path(), 1, dir / "coded.bmp", messenger));
    const auto written = test::ReadBytes(dir / LoadingPictureName(1));
    EXPECT_TRUE(IsPlainBmp(written));
    EXPECT_EQ(DecodeBmp(written).pixels(), DecodeBmp(test::ReadBytes(dir / "coded.bmp")).pixels());

    const auto plain = EncodeBmp(DecodeBmp(written));
    test::WriteBytes(dir / "plain.bmp", plain);
    ASSERT_TRUE(TakeInLoadingPicture(dir.path(), 2, dir / "plain.bmp", messenger));
    EXPECT_EQ(test::ReadBytes(dir / LoadingPictureName(2)), plain);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_TRUE(sink.asked.empty());
}
