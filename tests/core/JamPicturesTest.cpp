#include "JamTestFiles.h"
#include "TestSupport.h"

#include "base/UITexts.h"
#include "formats/Bmp.h"
#include "formats/Jam16Codec.h"
#include "formats/JamCopy.h"
#include "formats/JamFile.h"
#include "formats/Pictures.h"
#include "transfer/ReportedFormats.h"

#include <gtest/gtest.h>

using namespace pitwall;

namespace {

struct Fixture : test::JamTestContext {
    Fixture()
    {
        std::vector<std::string> all(1200, "");
        all[219] = "must be 256 x %d";
        texts.assign(all, "");
    }

    // An 8-bit JAM of `height` rows: image 0 with a 2-entry table over the
    // left half of the top row, image 1 without tables over row 1.
    TJAMFile eightBit(int height)
    {
        std::vector<test::HandImage> images = {{0, 0, 128, 1, 1, {40, 41}}, {0, 1, 256, 1, 2, {}}};
        std::vector<std::uint8_t> page(256 * static_cast<std::size_t>(height), 0);
        for (int x = 0; x < 128; ++x)
            page[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(x % 2);
        for (int x = 0; x < 256; ++x)
            page[256 + static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(x);
        TJAMFile jam(palette);
        jam.Decode(test::HandJam8(height, images, page), true);
        return jam;
    }

    TJAMFile sixteenBit(int height, Pixel colour)
    {
        auto file = test::HandJam16Header(height, {test::HandRecord16(2, 131), test::HandRecord16(2, 131)});
        auto runs =
            EncodeJamRuns(std::vector<std::uint16_t>(256 * static_cast<std::size_t>(height), Rgb565FromPixel(colour)));
        file.insert(file.end(), runs.begin(), runs.end());
        TJAMFile jam(palette);
        jam.Decode(file, false);
        return jam;
    }
};

} // namespace

TEST(JamPictures, EightBitBmpRoundTrip)
{
    Fixture f;
    TJAMFile jam = f.eightBit(4);
    jam.SaveAsBMP(f.dir / "j.bmp");
    auto bytes = test::ReadBytes(f.dir / "j.bmp");
    ASSERT_EQ(bytes.size(), 256u * 4 + 1078);
    // Palette entry 41 as blue, green, red, 0; the top row is the last row
    // stored and holds exact-lookup indices.
    EXPECT_EQ(bytes[54 + 41 * 4 + 2], 41);
    EXPECT_EQ(bytes[54 + 41 * 4 + 1], 255 - 41);
    EXPECT_EQ(bytes[1078 + 3 * 256 + 1], 41);
    EXPECT_EQ(bytes[1078 + 2 * 256 + 200], 200);

    TJAMFile other = f.eightBit(4);
    other.page().fill(0);
    ASSERT_TRUE(LoadJamFromBmp(other, f.dir / "j.bmp", &f.messenger));
    EXPECT_EQ(other.page(), jam.page());
    // Tables were rebuilt: image 0 uses palette entries 40 and 41.
    EXPECT_EQ(other.entries()[0].tableSize, 2);
    EXPECT_EQ(other.tables(0)[3][1], 41);
}

TEST(JamPictures, WrongPicturesAreRefusedWithTheRightText)
{
    Fixture f;
    TJAMFile jam = f.eightBit(4);
    const Image before = jam.page();
    SaveBmpFile(Image(256, 5, 8), f.dir / "tall.bmp");
    EXPECT_FALSE(LoadJamFromBmp(jam, f.dir / "tall.bmp", &f.messenger));
    ASSERT_EQ(f.sink.numbers(), std::vector<int>{219});
    EXPECT_EQ(f.sink.shown[0].text, "must be 256 x 4"); // names the page height
    SaveBmpFile(Image(256, 4, 24), f.dir / "deep.bmp");
    EXPECT_FALSE(LoadJamFromBmp(jam, f.dir / "deep.bmp", &f.messenger));
    test::WriteBytes(f.dir / "broken.bmp", {'B', 'M', 1, 2, 3});
    EXPECT_FALSE(LoadJamFromBmp(jam, f.dir / "broken.bmp", &f.messenger));
    EXPECT_EQ(f.sink.numbers(), (std::vector<int>{219, 217, kPictureUnreadableText}));
    EXPECT_EQ(jam.page(), before);

    TJAMFile hard = f.sixteenBit(4, MakePixel(8, 8, 8));
    SaveBmpFile(Image(256, 4, 8), f.dir / "flat.bmp");
    EXPECT_FALSE(LoadJamFromBmp(hard, f.dir / "flat.bmp", &f.messenger));
    EXPECT_EQ(f.sink.numbers().back(), 218);
    EXPECT_TRUE(LoadJamFromBmp(hard, f.dir / "deep.bmp", &f.messenger));
}

TEST(JamPictures, ColoursOutsideThePaletteBecomeEntryZero)
{
    Fixture f;
    TJAMFile jam = f.eightBit(2);
    Image picture(256, 2, 8);
    picture.setColorTable({MakePixel(1, 2, 3), f.palette.pixel(9)});
    picture.fill(MakePixel(1, 2, 3));
    picture.setPixel(5, 1, f.palette.pixel(9));
    SaveBmpFile(picture, f.dir / "p.bmp");
    ASSERT_TRUE(LoadJamFromBmp(jam, f.dir / "p.bmp", &f.messenger));
    EXPECT_EQ(jam.page().pixel(0, 0), f.palette.pixel(0));
    EXPECT_EQ(jam.page().pixel(5, 1), f.palette.pixel(9));
}

TEST(JamPictures, APictureKeepsOnlyWhatTheFileStoresAndTellsTheStoredBytes)
{
    Fixture f;
    TJAMFile jam = f.eightBit(4);
    Image picture(256, 4, 8);
    picture.setColorTable(f.palette.table());
    picture.fill(f.palette.pixel(41));
    picture.setPixel(3, 1, f.palette.pixel(200));
    SaveBmpFile(picture, f.dir / "whole.bmp");
    ASSERT_TRUE(LoadJamFromBmp(jam, f.dir / "whole.bmp", &f.messenger));
    // Outside both images (right half of row 0, rows 2 and 3): black, as the
    // saved file loads back.
    EXPECT_EQ(jam.page().pixel(0, 0), f.palette.pixel(41));
    EXPECT_EQ(jam.page().pixel(200, 0), Pixel{0});
    EXPECT_EQ(jam.page().pixel(10, 3), Pixel{0});
    TJAMFile reloaded(f.palette);
    reloaded.Decode(jam.Assemble(false).Content(), true);
    EXPECT_EQ(reloaded.page(), jam.page());

    // Stored bytes: positions in the covering image's own table, palette
    // indices for the image without tables, nothing outside.
    EXPECT_EQ(jam.StoredValueAt(0, 0), 0); // image 0's table is now {41}
    EXPECT_EQ(jam.StoredValueAt(3, 1), 200);
    EXPECT_EQ(jam.StoredValueAt(4, 1), 41);
    EXPECT_EQ(jam.StoredValueAt(200, 0), std::nullopt);
    EXPECT_EQ(jam.StoredValueAt(0, 4), std::nullopt);
    EXPECT_EQ(jam.StoredValueAt(-1, 0), std::nullopt);
}

TEST(JamPictures, PairsStackTheTwoPages)
{
    Fixture f;
    TJAMFile top = f.eightBit(3);
    TJAMFile bottom = f.eightBit(2);
    bottom.page().fill(f.palette.pixel(77));
    top.SavePairAsBMP(f.dir / "pair.bmp", bottom);
    Image pair = LoadBmpFile(f.dir / "pair.bmp");
    EXPECT_EQ(pair.height(), 5);
    EXPECT_EQ(pair.depth(), 8);
    EXPECT_EQ(pair.pixel(3, 4), f.palette.pixel(77));

    TJAMFile a = f.eightBit(3), b = f.eightBit(2);
    ASSERT_TRUE(LoadJamPairFromBmp(a, f.dir / "pair.bmp", b, &f.messenger));
    EXPECT_EQ(a.page(), top.page());
    // The second page takes its images' pixels; nothing is kept beside them.
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 256; ++x)
            EXPECT_EQ(b.page().pixel(x, y), test::InAnImage(b, x, y) ? f.palette.pixel(77) : Pixel{0});
    // 3 + 3 rows asked of a 5-row picture: 219 with 6.
    TJAMFile c = f.eightBit(3);
    f.sink.shown.clear();
    EXPECT_FALSE(LoadJamPairFromBmp(a, f.dir / "pair.bmp", c, &f.messenger));
    ASSERT_EQ(f.sink.numbers(), std::vector<int>{219});
    EXPECT_EQ(f.sink.shown[0].text, "must be 256 x 6");
}

TEST(JamPictures, DrawRecolouredMovesRampsAndKeepsZeroAnd255)
{
    Fixture f;
    // One image without tables covering the page: positions are indices.
    std::vector<test::HandImage> images = {{0, 0, 256, 1, 1, {}}};
    std::vector<std::uint8_t> page(256);
    for (int x = 0; x < 256; ++x)
        page[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(x);
    TJAMFile jam(f.palette);
    jam.Decode(test::HandJam8(1, images, page), true);
    RampBases identity;
    for (int r = 0; r < 16; ++r)
        identity[static_cast<std::size_t>(r)] = static_cast<std::uint8_t>(16 * r);
    const Pixel background = MakePixel(0xF0, 0xF0, 0xF0);
    Image target(300, 2, 24);
    jam.DrawRecoloured(target, identity, background);
    EXPECT_EQ(target.depth(), 32);
    EXPECT_EQ(target.pixel(0, 0), background);
    EXPECT_EQ(target.pixel(255, 0), background);
    EXPECT_EQ(target.pixel(17, 0), f.palette.pixel(17));
    EXPECT_EQ(target.pixel(280, 0), background);

    RampBases moved = identity;
    moved[1] = 64; // ramp 1 drawn with ramp 4's colours
    jam.DrawRecoloured(target, moved, background);
    EXPECT_EQ(target.pixel(17, 0), f.palette.pixel(65));
    EXPECT_EQ(target.pixel(33, 0), f.palette.pixel(33));
    // A small target only gets what fits.
    Image small(10, 1);
    jam.DrawRecoloured(small, identity, background);
    EXPECT_EQ(small.pixel(9, 0), f.palette.pixel(9));
}

TEST(JamPictures, CopyBetweenKinds)
{
    Fixture f;
    TJAMFile soft = f.eightBit(4);
    TJAMFile hard = f.sixteenBit(4, MakePixel(0, 0, 0));
    // The target side must be loaded.
    EXPECT_FALSE(CopyBetweenKinds(soft, hard, JamCopyDirection::EightToSixteen, false, {true, false}, &f.messenger));
    EXPECT_FALSE(CopyBetweenKinds(soft, hard, JamCopyDirection::SixteenToEight, false, {false, true}, &f.messenger));
    EXPECT_EQ(f.sink.numbers(), (std::vector<int>{772, 771}));

    ASSERT_TRUE(CopyBetweenKinds(soft, hard, JamCopyDirection::EightToSixteen, false, {true, true}, &f.messenger));
    EXPECT_EQ(hard.page(), soft.page());

    // Back: each colour becomes the nearest palette colour. (100, 150, 40)
    // lies between entries 100 and 105 in this palette, nearest to 103.
    TJAMFile hard2 = f.sixteenBit(2, MakePixel(104, 152, 40));
    ASSERT_FALSE(CopyBetweenKinds(soft, hard2, JamCopyDirection::SixteenToEight, false, {true, true}, &f.messenger));
    ASSERT_TRUE(CopyBetweenKinds(soft, hard2, JamCopyDirection::SixteenToEight, true, {true, true}, &f.messenger));
    const Pixel copied = hard2.page().pixel(0, 0);
    const Pixel nearest = f.palette.pixel(f.palette.nearestIndexOfPixel(copied));
    EXPECT_EQ(soft.page().pixel(10, 1), nearest);
    EXPECT_EQ(soft.page().pixel(10, 3), f.palette.pixel(0)); // rows below the shorter page stay
    // Image 0's tables were rebuilt to the one colour it now shows.
    EXPECT_EQ(soft.entries()[0].tableSize, 1);
    // Two 8-bit JAMs: nothing happens.
    TJAMFile soft2 = f.eightBit(4);
    EXPECT_FALSE(CopyBetweenKinds(soft, soft2, JamCopyDirection::EightToSixteen, false, {true, true}, &f.messenger));
}
