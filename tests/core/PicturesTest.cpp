#include "TestSupport.h"

#include "base/FileUtils.h"
#include "base/UITexts.h"
#include "formats/Bmp.h"
#include "formats/Jpeg.h"
#include "formats/Pictures.h"
#include "transfer/ReportedFormats.h"

#include <gtest/gtest.h>

using namespace pitwall;

namespace {

struct Fixture {
    UITexts texts;
    test::RecordingMessages sink;
    Messenger messenger{texts, sink};
    test::TempDir dir;
};

Image Gradient(int w, int h, int depth = 24)
{
    Image image(w, h, depth);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, MakePixel(x * 255 / w, y * 255 / h, 128));
    return image;
}

// libjpeg's quality setting shows in the quantisation table: at quality 80
// the first luminance entry (16 at quality 50) is 6, at quality 90 it is 3.
int FirstQuantEntry(const std::vector<std::uint8_t>& jpeg)
{
    for (std::size_t i = 0; i + 5 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDB)
            return jpeg[i + 5];
    return -1;
}

} // namespace

TEST(Pictures, SaveByExtensionAndRefuseOthers)
{
    Fixture f;
    Image image = Gradient(32, 16);
    ASSERT_TRUE(SavePicture(image, f.dir / "a.bmp", &f.messenger));
    EXPECT_EQ(LoadBmpFile(f.dir / "a.bmp"), image);
    ASSERT_TRUE(SavePicture(image, f.dir / "a.jpg", &f.messenger));
    EXPECT_EQ(FirstQuantEntry(test::ReadBytes(f.dir / "a.jpg")), 6); // quality 80
    Image jpg = LoadPicture(f.dir / "a.jpg", &f.messenger);
    EXPECT_EQ(jpg.width(), 32);
    EXPECT_EQ(jpg.depth(), 24);
    EXPECT_NEAR(RedOf(jpg.pixel(20, 8)), RedOf(image.pixel(20, 8)), 12);
    EXPECT_TRUE(f.sink.shown.empty());

    EXPECT_FALSE(SavePicture(image, f.dir / "a.png", &f.messenger));
    EXPECT_FALSE(FileExists(f.dir / "a.png"));
    EXPECT_EQ(f.sink.numbers(), std::vector<int>{985});
    EXPECT_TRUE(LoadPicture(f.dir / "a.gif", &f.messenger).isNull());
    EXPECT_EQ(f.sink.numbers(), (std::vector<int>{985, 985}));
}

TEST(Pictures, ConvertAndImport)
{
    Fixture f;
    SaveBmpFile(Gradient(16, 16), f.dir / "p.bmp");
    ConvertBmpToJpg(f.dir / "p.bmp", f.dir / "p.jpg");
    EXPECT_EQ(FirstQuantEntry(test::ReadBytes(f.dir / "p.jpg")), 3); // quality 90
    ASSERT_TRUE(ImportPictureAsBmp(f.dir / "p.jpg", f.dir / "from-jpg.bmp", &f.messenger));
    EXPECT_EQ(LoadBmpFile(f.dir / "from-jpg.bmp").width(), 16);
    ASSERT_TRUE(ImportPictureAsBmp(f.dir / "p.bmp", f.dir / "copy.bmp", &f.messenger));
    EXPECT_EQ(test::ReadBytes(f.dir / "copy.bmp"), test::ReadBytes(f.dir / "p.bmp"));
    // A PNG too: its transparent pixels on black, said once.
    std::vector<std::uint8_t> alpha(16 * 16, 255);
    alpha[17] = 0;
    test::WriteRgbaPng(f.dir / "p.png", Gradient(16, 16), alpha);
    ASSERT_TRUE(ImportPictureAsBmp(f.dir / "p.png", f.dir / "from-png.bmp", &f.messenger));
    Image onBlack = Gradient(16, 16);
    onBlack.setPixel(1, 1, 0);
    EXPECT_EQ(LoadBmpFile(f.dir / "from-png.bmp").pixels(), onBlack.pixels());
    EXPECT_EQ(f.sink.numbers(), std::vector<int>{kTransparentOnBlackText});
    // A broken JPEG is an error with a reason, not a crash.
    test::WriteBytes(f.dir / "bad.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J'});
    EXPECT_THROW(LoadPicture(f.dir / "bad.jpg", &f.messenger), FormatError);
    EXPECT_THROW(DecodeJpeg({}), FormatError);
}

TEST(Pictures, CropKeepsDepthAndColorKeyedCopySkipsTheKey)
{
    Fixture f;
    Image source = Gradient(10, 10, 32);
    CropToFile(source, Rect{2, 3, 6, 5}, f.dir / "crop.bmp");
    Image crop = LoadBmpFile(f.dir / "crop.bmp");
    EXPECT_EQ(crop.width(), 4);
    EXPECT_EQ(crop.height(), 2);
    EXPECT_EQ(crop.depth(), 32);
    EXPECT_EQ(crop.pixel(0, 0), source.pixel(2, 3));

    Image sprite(3, 2, 32, kColorKey);
    sprite.setPixel(1, 0, MakePixel(1, 2, 3));
    sprite.setPixel(2, 1, MakePixel(4, 5, 6));
    Image target(5, 5, 32, MakePixel(9, 9, 9));
    ColorKeyedCopy(sprite, target, sprite.rect(), true, 2, 1);
    EXPECT_EQ(target.depth(), 24);
    EXPECT_EQ(target.pixel(2, 2), MakePixel(1, 2, 3));
    EXPECT_EQ(target.pixel(3, 3), MakePixel(4, 5, 6));
    EXPECT_EQ(target.pixel(1, 2), MakePixel(9, 9, 9)); // key pixel left out

    // Corner key: the source's top-left pixel is the transparent colour.
    Image corner(2, 1, 24, MakePixel(0, 0, 1));
    corner.setPixel(1, 0, MakePixel(7, 7, 7));
    Image t2(4, 4, 24);
    ColorKeyedCopy(corner, t2, corner.rect(), false, 3, 2);
    EXPECT_EQ(t2.pixel(2, 3), 0u);
    EXPECT_EQ(t2.pixel(3, 3), MakePixel(7, 7, 7));
    // Off the target's edge nothing is written and nothing breaks.
    ColorKeyedCopy(corner, t2, Rect{-5, -5, 10, 10}, false, 3, 3);
}

TEST(Pictures, LoadPictureIntoChecksSizeAndAsksAboutDepth)
{
    Fixture f;
    SaveBmpFile(Gradient(8, 4, 24), f.dir / "p.bmp");
    Image wrongSize(8, 5, 24);
    EXPECT_FALSE(LoadPictureInto(wrongSize, f.dir / "p.bmp", f.messenger));
    ASSERT_EQ(f.sink.shown.size(), 1u);
    EXPECT_EQ(f.sink.shown[0].number, 737);

    Image other(8, 4, 32, MakePixel(1, 1, 1));
    f.sink.answer = false;
    EXPECT_FALSE(LoadPictureInto(other, f.dir / "p.bmp", f.messenger));
    EXPECT_EQ(other.pixel(3, 3), MakePixel(1, 1, 1));
    f.sink.answer = true;
    EXPECT_TRUE(LoadPictureInto(other, f.dir / "p.bmp", f.messenger));
    ASSERT_EQ(f.sink.asked.size(), 2u);
    EXPECT_EQ(f.sink.asked[0].number, 1045);
    EXPECT_EQ(other.pixel(3, 3), Gradient(8, 4).pixel(3, 3));
    EXPECT_EQ(other.depth(), 32);
}

TEST(Pictures, NumberPrefixesAndStretch)
{
    EXPECT_EQ(NumberPrefixes({"07 - Monaco", "12 - Spa", "x1 - nothing", "3"}),
              (std::vector<std::string>{"7", "12", "3"}));
    Image image(2, 2, 32);
    image.setPixel(1, 1, 5);
    Image big = image.stretched(4, 4);
    EXPECT_EQ(big.pixel(3, 3), 5u);
    EXPECT_EQ(big.pixel(2, 2), 5u);
    EXPECT_EQ(big.pixel(1, 1), 0u);
}

TEST(Pictures, DrawingIsClippedOnEverySide)
{
    Image source(4, 4, 32, 7);
    Image target(3, 3, 32, 1);
    target.draw(source, -2, -3);
    EXPECT_EQ(target.pixel(1, 0), 7u);
    EXPECT_EQ(target.pixel(2, 0), 1u);
    target.draw(source, -10, 0); // entirely outside
    target.draw(source, 3, 3);
    target.drawRect(source, Rect{3, 3, 9, 9}, 2, 2);
    EXPECT_EQ(target.pixel(2, 2), 7u);
    target.fillRect(Rect{-5, -5, 1, 1}, 9);
    EXPECT_EQ(target.pixel(0, 0), 9u);
    EXPECT_EQ(target.copy(Rect{2, 2, 10, 10}).width(), 1);
}
