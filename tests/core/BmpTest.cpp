#include "MemoryLimit.h"
#include "TestSupport.h"

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "formats/ArtBankPictures.h"
#include "formats/Bmp.h"
#include "formats/Png.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace pitwall;

namespace {

// A BMP built field by field: 40-byte info header, the given colour table
// and rows exactly as passed (already padded, in file order).
std::vector<std::uint8_t> HandBmp(int width, int height, int bits, const std::vector<Pixel>& table,
                                  const std::vector<std::vector<std::uint8_t>>& rows, std::uint32_t compression = 0,
                                  const std::vector<std::uint32_t>& masks = {})
{
    ByteWriter w;
    std::uint32_t offset = static_cast<std::uint32_t>(54 + masks.size() * 4 + table.size() * 4);
    w.u8('B');
    w.u8('M');
    w.u32(0);
    w.u32(0);
    w.u32(offset);
    w.u32(40);
    w.i32(width);
    w.i32(height);
    w.u16(1);
    w.u16(static_cast<std::uint16_t>(bits));
    w.u32(compression);
    w.zeros(12);
    w.u32(static_cast<std::uint32_t>(table.size()));
    w.u32(0);
    for (auto m : masks)
        w.u32(m);
    for (Pixel p : table) {
        w.u8(static_cast<std::uint8_t>(BlueOf(p)));
        w.u8(static_cast<std::uint8_t>(GreenOf(p)));
        w.u8(static_cast<std::uint8_t>(RedOf(p)));
        w.u8(0);
    }
    for (const auto& r : rows)
        w.bytes(r);
    return w.take();
}

const Pixel kRed = MakePixel(255, 0, 0);
const Pixel kGreen = MakePixel(0, 255, 0);
const Pixel kBlue = MakePixel(0, 0, 255);
const Pixel kWhite = MakePixel(255, 255, 255);

} // namespace

TEST(Bmp, ReadsIndexedDepthsBottomUpAndTopDown)
{
    // 1 bit, 3 x 2, bottom-up: file row 0 is the picture's bottom row.
    Image one = DecodeBmp(HandBmp(3, 2, 1, {kRed, kBlue}, {{0b10100000, 0, 0, 0}, {0b01000000, 0, 0, 0}}));
    EXPECT_EQ(one.depth(), 1);
    EXPECT_EQ(one.pixel(0, 1), kBlue);
    EXPECT_EQ(one.pixel(1, 1), kRed);
    EXPECT_EQ(one.pixel(2, 1), kBlue);
    EXPECT_EQ(one.pixel(1, 0), kBlue);
    EXPECT_EQ(one.pixel(0, 0), kRed);

    // 4 bit, top-down (negative height); high nibble first.
    Image four = DecodeBmp(HandBmp(3, -1, 4, {kRed, kGreen, kBlue}, {{0x12, 0x00, 0, 0}}));
    EXPECT_EQ(four.height(), 1);
    EXPECT_EQ(four.pixel(0, 0), kGreen);
    EXPECT_EQ(four.pixel(1, 0), kBlue);
    EXPECT_EQ(four.pixel(2, 0), kRed);

    // 8 bit: an index beyond the colour table shows black.
    Image eight = DecodeBmp(HandBmp(2, 1, 8, {kRed, kWhite}, {{1, 7, 0, 0}}));
    EXPECT_EQ(eight.pixel(0, 0), kWhite);
    EXPECT_EQ(eight.pixel(1, 0), 0u);
    EXPECT_EQ(eight.colorTable().size(), 2u);
}

TEST(Bmp, ReadsDirectColourDepths)
{
    // 16 bit 5-5-5: 0x7C00 is full red, widened by shifting (248).
    Image s = DecodeBmp(HandBmp(2, 1, 16, {}, {{0x00, 0x7C, 0x1F, 0x00}}));
    EXPECT_EQ(s.pixel(0, 0), MakePixel(248, 0, 0));
    EXPECT_EQ(s.pixel(1, 0), MakePixel(0, 0, 248));
    // 16 bit with 5-6-5 bit fields.
    Image f = DecodeBmp(HandBmp(1, 1, 16, {}, {{0xE0, 0x07, 0, 0}}, 3, {0xF800, 0x07E0, 0x001F}));
    EXPECT_EQ(f.pixel(0, 0), MakePixel(0, 252, 0));
    // 24 bit rows are padded to four bytes.
    Image t = DecodeBmp(HandBmp(1, 2, 24, {}, {{1, 2, 3, 0}, {4, 5, 6, 0}}));
    EXPECT_EQ(t.pixel(0, 1), MakePixel(3, 2, 1));
    EXPECT_EQ(t.pixel(0, 0), MakePixel(6, 5, 4));
    // 32 bit B, G, R, unused.
    Image q = DecodeBmp(HandBmp(1, 1, 32, {}, {{9, 8, 7, 0xFF}}));
    EXPECT_EQ(q.pixel(0, 0), MakePixel(7, 8, 9));
    EXPECT_EQ(q.depth(), 32);
}

TEST(Bmp, RefusesDamagedFilesWithAReason)
{
    auto good = HandBmp(4, 4, 24, {}, std::vector<std::vector<std::uint8_t>>(4, std::vector<std::uint8_t>(12, 0)));
    EXPECT_NO_THROW(DecodeBmp(good));
    auto shortRows = good;
    shortRows.resize(shortRows.size() - 1);
    EXPECT_THROW(DecodeBmp(shortRows), FormatError);
    EXPECT_THROW(DecodeBmp(std::vector<std::uint8_t>(good.begin(), good.begin() + 20)), FormatError);
    auto notBmp = good;
    notBmp[0] = 'X';
    EXPECT_THROW(DecodeBmp(notBmp), FormatError);
    auto rleOf24Bits = HandBmp(1, 1, 24, {}, {{0, 0, 0, 0}}, 1);
    EXPECT_THROW(DecodeBmp(rleOf24Bits), FormatError);
    auto jpegInBmp = HandBmp(1, 1, 24, {}, {{0, 0, 0, 0}}, 4);
    EXPECT_THROW(DecodeBmp(jpegInBmp), FormatError);
    auto huge = HandBmp(100000, 1, 24, {}, {});
    EXPECT_THROW(DecodeBmp(huge), FormatError);
    auto zero = HandBmp(0, 1, 24, {}, {});
    EXPECT_THROW(DecodeBmp(zero), FormatError);
}

TEST(Bmp, ClaimedSizeIsCheckedAgainstThePixelDataBeforeAllocating)
{
    // 54 bytes claiming 4096 x 4096 at 24 bits: 64 MB of picture if it were
    // made before the rows are looked for.
    auto bomb = HandBmp(4096, 4096, 24, {}, {});
    ASSERT_EQ(bomb.size(), 54u);
    EXPECT_TRUE(test::PassesWithinMemory(32u << 20, [&] {
        try {
            DecodeBmp(bomb);
        } catch (const FormatError& e) {
            return std::string(e.what()).find("pixel data is short") != std::string::npos;
        }
        return false;
    }));
    // 16384 x 16384 is refused by its size alone, whatever the file holds.
    try {
        DecodeBmp(HandBmp(kMaxBmpSide, kMaxBmpSide, 24, {}, {}));
        ADD_FAILURE() << "16384 x 16384 was read";
    } catch (const FormatError& e) {
        EXPECT_NE(std::string(e.what()).find("larger than Pitwall reads"), std::string::npos) << e.what();
    }
    // A pixel offset past the end is the same damage.
    auto good = HandBmp(1, 1, 24, {}, {{1, 2, 3, 0}});
    good[10] = 0xFF;
    EXPECT_THROW(DecodeBmp(good), FormatError);
}

TEST(Bmp, EightBitWriteHasTheJamExportLayout)
{
    Image image(256, 2, 8);
    std::vector<Pixel> table(256);
    for (int i = 0; i < 256; ++i)
        table[static_cast<std::size_t>(i)] = MakePixel(i, 0, 255 - i);
    table[9] = table[3]; // a repeated colour is written as the first index
    image.setColorTable(table);
    image.setPixel(0, 0, table[3]);
    image.setPixel(1, 0, MakePixel(1, 2, 3)); // not in the table: index 0
    image.setPixel(255, 1, table[200]);
    auto bytes = EncodeBmp(image);

    ASSERT_EQ(bytes.size(), 256u * 2 + 1078);
    ByteReader r(bytes);
    EXPECT_EQ(r.u8(), 'B');
    EXPECT_EQ(r.u8(), 'M');
    EXPECT_EQ(r.u32(), 256u * 2 + 1078); // file size
    EXPECT_EQ(r.u32(), 0u);              // reserved words
    EXPECT_EQ(r.u32(), 1078u);           // pixel offset
    EXPECT_EQ(r.u32(), 40u);
    EXPECT_EQ(r.i32(), 256);
    EXPECT_EQ(r.i32(), 2); // positive: bottom-up
    EXPECT_EQ(r.u16(), 1);
    EXPECT_EQ(r.u16(), 8);
    EXPECT_EQ(r.u32(), 0u);       // no compression
    EXPECT_EQ(r.u32(), 256u * 2); // image size
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(r.u32(), 0u); // resolution and colour counts
    // Colour table as blue, green, red, 0.
    EXPECT_EQ(bytes[54 + 4 * 200], 55);
    EXPECT_EQ(bytes[54 + 4 * 200 + 1], 0);
    EXPECT_EQ(bytes[54 + 4 * 200 + 2], 200);
    EXPECT_EQ(bytes[54 + 4 * 200 + 3], 0);
    // Bottom row first.
    EXPECT_EQ(bytes[1078 + 255], 200);
    EXPECT_EQ(bytes[1078 + 256 + 0], 3);
    EXPECT_EQ(bytes[1078 + 256 + 1], 0);

    Image back = DecodeBmp(bytes);
    EXPECT_EQ(back.depth(), 8);
    EXPECT_EQ(back.pixel(255, 1), table[200]);
    EXPECT_EQ(back.pixel(1, 0), table[0]);
}

// Track pictures go straight from their 24-bit rows to the art bank's
// colours: the same words as through the decoded picture, and the same
// refusals.
TEST(Bmp, ArtPicturesFromRowsEqualThoseFromTheDecodedPicture)
{
    auto message = [](const auto& decode) -> std::string {
        try {
            decode();
        } catch (const FormatError& e) {
            return e.what();
        }
        return "read";
    };
    // Three pixels a row (padded to 12 bytes): the key colour, one a step
    // from it that must not turn transparent, and plain colours.
    const std::vector<std::vector<std::uint8_t>> rows = {{248, 0, 248, 250, 3, 249, 0, 0, 255, 0, 0, 0},
                                                         {10, 20, 30, 255, 255, 255, 7, 7, 7, 0, 0, 0}};
    for (int height : {2, -2}) { // bottom-up and top-down
        const auto bmp = HandBmp(3, height, 24, {}, rows);
        const ArtPicture direct = ArtPictureFromBmp(bmp);
        EXPECT_TRUE(direct == ArtPictureFromImage(DecodeBmp(bmp))) << height;
        const std::uint32_t keyRow = height > 0 ? 1 : 0; // the file's first row
        EXPECT_EQ(direct.at(0, keyRow), kArtKeyWord);
        EXPECT_EQ(direct.at(1, keyRow), kArtKeyWord - 1);
        EXPECT_EQ(direct.at(2, keyRow), ArtWordFromRgb(255, 0, 0));
    }
    // Other depths go through the decoded picture.
    const auto indexed = HandBmp(2, 1, 8, {kRed, kBlue}, {{1, 0, 0, 0}});
    EXPECT_TRUE(ArtPictureFromBmp(indexed) == ArtPictureFromImage(DecodeBmp(indexed)));

    auto shortRows = HandBmp(3, 2, 24, {}, rows);
    shortRows.pop_back();
    auto offsetPastEnd = HandBmp(3, 2, 24, {}, rows);
    offsetPastEnd[10] = 0xFF;
    for (const auto& bad : {shortRows, offsetPastEnd, HandBmp(100000, 1, 24, {}, {})}) {
        EXPECT_NE(message([&] { DecodeBmp(bad); }), "read");
        EXPECT_EQ(message([&] { ArtPictureFromBmp(bad); }), message([&] { DecodeBmp(bad); }));
    }
    test::TempDir dir;
    test::WriteBytes(dir / "TrackReplace000.BMP", shortRows);
    EXPECT_EQ(message([&] { LoadBmpFileAsArtPicture(dir / "TrackReplace000.BMP"); }),
              message([&] { LoadBmpFile(dir / "TrackReplace000.BMP"); }));
    EXPECT_NE(message([&] { LoadBmpFile(dir / "TrackReplace000.BMP"); }).find("TrackReplace000.BMP"),
              std::string::npos);
}

TEST(Bmp, TwentyFourAndThirtyTwoBitRoundTrip)
{
    Image image(3, 2, 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.setPixel(x, y, MakePixel(x * 40, y * 90, 7));
    auto bytes = EncodeBmp(image);
    EXPECT_EQ(bytes.size(), 54u + 2 * 12); // rows of 9 bytes padded to 12
    EXPECT_EQ(bytes[28], 24);
    Image back = DecodeBmp(bytes);
    EXPECT_EQ(back, image);

    image.setDepth(32);
    bytes = EncodeBmp(image);
    EXPECT_EQ(bytes.size(), 54u + 2 * 12);
    EXPECT_EQ(bytes[28], 32);
    EXPECT_EQ(DecodeBmp(bytes), image);
}

TEST(Bmp, RunLengthCodedEightAndFourBit)
{
    // RLE8, 5 x 2: bottom row "3 x index 1, absolute 2 0 1 (padded), end of
    // row", top row "delta 2 right, 1 x index 2, end of picture".
    Image eight = DecodeBmp(HandBmp(5, 2, 8, {kRed, kGreen, kBlue},
                                    {{3, 1, 0, 3, 2, 0, 1, 0, 0, 0, 0, 2, 2, 0, 1, 2, 0, 1}}, 1));
    EXPECT_EQ(eight.depth(), 8);
    const Pixel bottom[] = {kGreen, kGreen, kGreen, kBlue, kRed};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(eight.pixel(x, 1), bottom[x]) << x;
    // The delta moved up one row and two to the right; skipped pixels take
    // the first colour.
    EXPECT_EQ(eight.pixel(0, 0), kRed);
    EXPECT_EQ(eight.pixel(2, 0), kBlue);
    EXPECT_EQ(eight.pixel(3, 0), kRed);

    // RLE4, 5 x 1: a run of 3 alternating 1,2 then absolute 3 indices 0,2,1.
    Image four = DecodeBmp(HandBmp(5, 1, 4, {kRed, kGreen, kBlue}, {{3, 0x12, 0, 3, 0x02, 0x10, 0, 1}}, 2));
    const Pixel row[] = {kGreen, kBlue, kGreen, kRed, kBlue};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(four.pixel(x, 0), row[x]) << x;

    // Runs past the row's end or the picture's top, and a stream cut short,
    // paint what fits and stop.
    Image clipped = DecodeBmp(HandBmp(2, 1, 8, {kRed, kWhite}, {{200, 1, 0, 0, 250, 1, 0, 5, 1}}, 1));
    EXPECT_EQ(clipped.pixel(0, 0), kWhite);
    EXPECT_EQ(clipped.pixel(1, 0), kWhite);
    // Top-down run-length data does not exist.
    EXPECT_THROW(DecodeBmp(HandBmp(2, -1, 8, {kRed}, {{0, 1}}, 1)), FormatError);
}

// Pictures as ImageMagick writes them by default or on request (RLE8 palette
// BMP, v5 header, RGB565 and ARGB bit fields), each read to the pixels of
// ImageMagick's own PNG of the same file. Five-bit channels are widened the
// way the game's 16-bit colours are (times 8), so there the PNG's colours
// are compared in their top five bits.
TEST(Bmp, ReadsWhatImageMagickWrites)
{
#ifdef _WIN32
    GTEST_SKIP() << "ImageMagick's convert, which writes the reference files, is a Linux tool here";
#endif
    if (std::system("convert -version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "ImageMagick's convert is not installed (scripts/setup.sh --dev installs it)";
    test::TempDir dir;
    const struct {
        const char* name;
        const char* options;
        Pixel compared;
    } kinds[] = {
        {"rle8.bmp", "-colors 200 -compress RLE bmp3:", 0xFFFFFF},
        {"v5.bmp", "bmp:", 0xFFFFFF},
        {"rgb565.bmp", "-define bmp:subtype=RGB565 bmp:", 0xF8FCF8},
        {"argb.bmp", "-alpha on -define bmp:subtype=ARGB8888 bmp:", 0xFFFFFF},
        {"gray4.bmp", "-colorspace gray -colors 16 bmp3:", 0xFFFFFF},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const std::string bmp = dir / kind.name;
        const std::string png = bmp + ".png";
        ASSERT_EQ(std::system(("convert rose: " + std::string(kind.options) + "'" + bmp + "'").c_str()), 0);
        ASSERT_EQ(std::system(("convert '" + bmp + "' -alpha off 'png24:" + png + "'").c_str()), 0);
        Image fromBmp = DecodeBmp(test::ReadBytes(bmp));
        Image fromPng = LoadPngFile(png);
        ASSERT_EQ(fromBmp.width(), 70);
        ASSERT_EQ(fromBmp.height(), 46);
        int differing = 0;
        for (int y = 0; y < 46; ++y)
            for (int x = 0; x < 70; ++x)
                differing += fromBmp.pixel(x, y) != (fromPng.pixel(x, y) & kind.compared);
        EXPECT_EQ(differing, 0);
    }

    // Forms ImageMagick reads but does not write: RLE4 and top-down rows,
    // built by hand and read by both.
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } handMade[] = {
        {"rle4.bmp", HandBmp(5, 2, 4, {kRed, kGreen, kBlue},
                             {{3, 0x12, 0, 3, 0x02, 0x10, 0, 0, 2, 0x22, 0, 3, 0x10, 0x20, 0, 1}}, 2)},
        {"top-down.bmp", HandBmp(3, -2, 24, {}, {{0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0},
                                                 {255, 255, 255, 0, 0, 0, 9, 99, 199, 0, 0, 0}})},
    };
    for (const auto& file : handMade) {
        SCOPED_TRACE(file.name);
        const std::string bmp = dir / file.name;
        const std::string png = bmp + ".png";
        // ImageMagick wants the file and pixel data sizes filled in.
        std::vector<std::uint8_t> bytes = file.bytes;
        auto put32 = [&bytes](std::size_t at, std::size_t value) {
            for (int k = 0; k < 4; ++k)
                bytes[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(value >> (8 * k));
        };
        put32(2, bytes.size());
        put32(34, bytes.size() - (bytes[10] | bytes[11] << 8));
        test::WriteBytes(bmp, bytes);
        ASSERT_EQ(std::system(("convert '" + bmp + "' -alpha off 'png24:" + png + "'").c_str()), 0);
        const Image fromBmp = DecodeBmp(file.bytes);
        const Image fromPng = LoadPngFile(png);
        ASSERT_EQ(fromPng.width(), fromBmp.width());
        ASSERT_EQ(fromPng.height(), fromBmp.height());
        for (int y = 0; y < fromBmp.height(); ++y)
            for (int x = 0; x < fromBmp.width(); ++x)
                EXPECT_EQ(fromBmp.pixel(x, y), fromPng.pixel(x, y)) << x << "," << y;
    }
}
