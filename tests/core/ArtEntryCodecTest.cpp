#include "formats/ArtEntryCodec.h"
#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "formats/ArtBankPictures.h"
#include "formats/Image.h"

#include <gtest/gtest.h>

#include <random>

using namespace pitwall;

namespace {

// A copy token of distance d, count code c (0..7) and direction dir.
void Copy(ByteWriter& w, std::uint32_t d, int c, int dir)
{
    w.u8(static_cast<std::uint8_t>((d >> 2) & 0xFF));
    w.u8(static_cast<std::uint8_t>(0x80 | ((d >> 10) & 0x7F)));
    w.u8(static_cast<std::uint8_t>(((d & 3) << 6) | (c << 3) | dir));
}

// Colour words that name their own place, so a copied pixel tells where it came from.
ArtWord Place(std::uint32_t x, std::uint32_t y) { return static_cast<ArtWord>(((y & 0x1F) << 10) | (x & 0x3FF)); }

} // namespace

TEST(ArtEntryCodec, CopyWithinTheRow)
{
    ByteWriter w;
    for (std::uint32_t x = 0; x < 10; ++x)
        w.u16(Place(x, 0));
    Copy(w, 3, 0, 0); // at column 10: from column 7
    ArtPicture p = DecodeArtEntry(w.data(), 20, 1, false);
    EXPECT_EQ(p.at(10, 0), Place(7, 0));
    EXPECT_EQ(p.at(11, 0), Place(8, 0));
    EXPECT_EQ(p.at(12, 0), 0); // beyond the data: untouched
}

TEST(ArtEntryCodec, DistanceCountsBackInRowsOf800)
{
    ByteWriter w;
    for (std::uint32_t y = 0; y < 5; ++y)
        for (std::uint32_t x = 0; x < 800; ++x)
            w.u16(Place(x, y));
    w.u16(Place(0, 5));
    w.u16(Place(1, 5));
    Copy(w, 805, 1, 0); // at column 2 of row 5: e = 803, q = 1, column 797 of row 3
    ArtPicture p = DecodeArtEntry(w.data(), 800, 6, false);
    EXPECT_EQ(p.at(2, 5), Place(797, 3));
    EXPECT_EQ(p.at(3, 5), Place(798, 3));
    EXPECT_EQ(p.at(4, 5), Place(799, 3));
}

TEST(ArtEntryCodec, TheRowBackRuleUses800EvenForNarrowPictures)
{
    // Width 100: D = 800 at column 5 lands on the pixel above.
    ByteWriter w;
    for (std::uint32_t x = 0; x < 100; ++x)
        w.u16(Place(x, 0));
    for (std::uint32_t x = 0; x < 5; ++x)
        w.u16(Place(x, 1));
    Copy(w, 800, 0, 0);
    ArtPicture p = DecodeArtEntry(w.data(), 100, 2, false);
    EXPECT_EQ(p.at(5, 1), Place(5, 0));
    EXPECT_EQ(p.at(6, 1), Place(6, 0));
}

TEST(ArtEntryCodec, DirectionFourMirrorsAndWrapsToTheRowAbove)
{
    ByteWriter w;
    for (std::uint32_t x = 0; x < 10; ++x)
        w.u16(Place(x, 0));
    Copy(w, 1, 3, 4); // at column 10: 5 pixels from column 9 leftwards
    ArtPicture p = DecodeArtEntry(w.data(), 16, 1, false);
    for (std::uint32_t i = 0; i < 5; ++i)
        EXPECT_EQ(p.at(10 + i, 0), Place(9 - i, 0));

    // Width 4: going left past column 0 continues at the last column one row up.
    ByteWriter v;
    for (std::uint32_t y = 0; y < 2; ++y)
        for (std::uint32_t x = 0; x < 4; ++x)
            v.u16(Place(x, y));
    v.u16(Place(0, 2));
    Copy(v, 1, 1, 4); // at (1,2): (0,2), then (3,1), (2,1)
    ArtPicture q = DecodeArtEntry(v.data(), 4, 3, false);
    EXPECT_EQ(q.at(1, 2), Place(0, 2));
    EXPECT_EQ(q.at(2, 2), Place(3, 1));
    EXPECT_EQ(q.at(3, 2), Place(2, 1));
}

TEST(ArtEntryCodec, VerticalDirectionsAndSourcesOutsideThePicture)
{
    ByteWriter w;
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 0; x < 4; ++x)
            w.u16(Place(x, y));
    // At (0,3): the pixel above is D = 800; direction 6 walks up the column.
    Copy(w, 800, 2, 6); // 4 pixels: (0,2) (0,1) (0,0) then above the picture
    ArtPicture p = DecodeArtEntry(w.data(), 4, 4, false);
    EXPECT_EQ(p.at(0, 3), Place(0, 2));
    EXPECT_EQ(p.at(1, 3), Place(0, 1));
    EXPECT_EQ(p.at(2, 3), Place(0, 0));
    EXPECT_EQ(p.at(3, 3), 0);
}

TEST(ArtEntryCodec, KeyRunsAndTruncatedTokens)
{
    ByteWriter w;
    w.u16(kArtKeyWord);
    w.u8(4); // 5 key pixels
    w.u16(0x1234);
    w.u16(kArtKeyWord); // run length byte missing
    ArtPicture p = DecodeArtEntry(w.data(), 8, 1, false);
    for (std::uint32_t x = 0; x < 5; ++x)
        EXPECT_EQ(p.at(x, 0), kArtKeyWord);
    EXPECT_EQ(p.at(5, 0), 0x1234);
    EXPECT_EQ(p.at(6, 0), 0);
    // A run longer than the picture stops at its end.
    ByteWriter big;
    big.u16(kArtKeyWord);
    big.u8(255);
    EXPECT_EQ(DecodeArtEntry(big.data(), 3, 2, false).words, std::vector<ArtWord>(6, kArtKeyWord));
    EXPECT_THROW(DecodeArtEntry(big.data(), 100000, 1, false), FormatError);
}

TEST(ArtEntryCodec, KeyRunsOf255AndTheRest)
{
    ArtPicture row(300, 1, kArtKeyWord);
    EXPECT_EQ(EncodeArtEntry(row, false), (std::vector<std::uint8_t>{0x1F, 0x7C, 254, 0x1F, 0x7C, 44}));
    // Runs and literal groups stop at the end of a row.
    ArtPicture two(3, 2, kArtKeyWord);
    two.at(2, 0) = 0x0001;
    EXPECT_EQ(EncodeArtEntry(two, false), (std::vector<std::uint8_t>{0x1F, 0x7C, 1, 0x01, 0x00, 0x1F, 0x7C, 2}));
}

TEST(ArtEntryCodec, LiteralGroupsOf127AreJustWords)
{
    ArtPicture p(300, 2);
    for (std::uint32_t i = 0; i < 600; ++i)
        p.words[i] = static_cast<ArtWord>(i + 1);
    auto bytes = EncodeArtEntry(p, false);
    EXPECT_EQ(bytes.size(), 1200u);
    EXPECT_EQ(DecodeArtEntry(bytes, 300, 2, false), p);
}

TEST(ArtEntryCodec, SingleWordKeysOfTheCarPictures)
{
    ArtPicture p(3, 1);
    p.words = {kArtKeyWord, 0x0421, kArtKeyWord};
    auto bytes = EncodeArtEntry(p, true);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x1F, 0x7C, 0x21, 0x04, 0x1F, 0x7C}));
    EXPECT_EQ(DecodeArtEntry(bytes, 3, 1, true), p);
    // Read as an ordinary entry the same bytes are a key run of 0x22 + 1.
    EXPECT_EQ(DecodeArtEntry(bytes, 3, 1, false).words, std::vector<ArtWord>(3, kArtKeyWord));
}

TEST(ArtEntryCodec, ColoursThatLookLikeTheKeyStayVisible)
{
    EXPECT_EQ(ArtWordFromRgb(248, 0, 248), kArtKeyWord);
    EXPECT_NE(ArtWordFromRgb(255, 7, 255), kArtKeyWord);
    EXPECT_EQ(ArtWordFromRgb(255, 255, 255), 0x7FFF);
    // A whole picture converts each pixel exactly as ArtWordFromRgb does,
    // every colour near the key's among them.
    const int levels[] = {0, 1, 7, 8, 9, 127, 128, 246, 247, 248, 249, 250, 254, 255};
    Image image(14 * 14, 14, 24);
    for (int r = 0; r < 14; ++r)
        for (int g = 0; g < 14; ++g)
            for (int b = 0; b < 14; ++b)
                image.setPixel(g * 14 + b, r, MakePixel(levels[r], levels[g], levels[b]));
    const ArtPicture converted = ArtPictureFromImage(image);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const Pixel px = image.pixel(x, y);
            ASSERT_EQ(converted.at(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)),
                      ArtWordFromRgb(RedOf(px), GreenOf(px), BlueOf(px)))
                << RedOf(px) << " " << GreenOf(px) << " " << BlueOf(px);
        }
    // A stray bit 15 never turns a pixel into a copy token.
    ArtPicture p(2, 1);
    p.words = {0x8001, 0xFC1F};
    ArtPicture back = DecodeArtEntry(EncodeArtEntry(p, false), 2, 1, false);
    EXPECT_EQ(back.at(0, 0), 0x0001);
    EXPECT_NE(back.at(1, 0), kArtKeyWord);
}

namespace {

// The token rules pixel by pixel, with every wrap and bound checked at each
// step: what the decoder's shortcuts must agree with.
ArtPicture ReferenceDecode(std::span<const std::uint8_t> data, std::uint32_t width, std::uint32_t height,
                           bool singleWordKeys)
{
    ArtPicture p(width, height);
    const std::size_t total = p.words.size();
    std::size_t pos = 0, i = 0;
    while (pos < total && data.size() - i >= 2) {
        const auto w = static_cast<ArtWord>(data[i] | (data[i + 1] << 8));
        i += 2;
        const bool run = w == kArtKeyWord && !singleWordKeys;
        if (!(w & 0x8000) && !run) {
            p.words[pos++] = w;
            continue;
        }
        if (i == data.size())
            break;
        const std::uint8_t b2 = data[i++];
        if (run) {
            for (int k = 0; k <= b2 && pos < total; ++k)
                p.words[pos++] = kArtKeyWord;
            continue;
        }
        const std::int64_t distance = ((w >> 8) & 0x7F) * 1024 + (w & 0xFF) * 4 + (b2 >> 6);
        const std::int64_t x = static_cast<std::int64_t>(pos % width), y = static_cast<std::int64_t>(pos / width);
        std::int64_t sx = x - distance, sy = y;
        if (distance > x) {
            const std::int64_t e = distance - x;
            sx = kArtRowSpan - e % kArtRowSpan;
            sy = y - 1 - e / kArtRowSpan;
        }
        for (int k = 0; k < kArtCopyCounts[(b2 >> 3) & 7] && pos < total; ++k) {
            if (sx < 0) {
                sx = width - 1;
                --sy;
            } else if (sx >= static_cast<std::int64_t>(width)) {
                sx = 0;
                ++sy;
            }
            const bool inside = sy >= 0 && sy < static_cast<std::int64_t>(height);
            p.words[pos++] = inside ? p.words[static_cast<std::size_t>(sy * width + sx)] : 0;
            sx += kArtCopySteps[b2 & 7][0];
            sy += kArtCopySteps[b2 & 7][1];
        }
    }
    return p;
}

} // namespace

// Random streams of every token kind on pictures from one pixel wide to wider
// than a row span: copies inside the picture, across row ends, overlapping
// their own target and reaching outside, and streams cut off anywhere. The
// picture a decoder reuses must not leak into the next one.
TEST(ArtEntryCodec, DecodingAgreesWithTheTokenRulesOnRandomStreams)
{
    std::mt19937 random(20261207);
    ArtPicture reused;
    for (int round = 0; round < 400; ++round) {
        const std::uint32_t width = round % 7 == 0 ? 1 + random() % 3 : 1 + random() % (round % 5 == 0 ? 900 : 64);
        const std::uint32_t height = 1 + random() % 40;
        const bool singleWordKeys = round % 3 == 0;
        ByteWriter w;
        const std::size_t tokens = random() % (width * height + 8);
        for (std::size_t t = 0; t < tokens; ++t) {
            switch (random() % 4) {
            case 0:
                w.u16(static_cast<ArtWord>(random() & 0x7FFF));
                break;
            case 1:
                w.u16(kArtKeyWord);
                w.u8(static_cast<std::uint8_t>(random() % 6));
                break;
            default: {
                const std::uint32_t d = random() % 2 ? random() % 8 : random() % 4000;
                Copy(w, d, static_cast<int>(random() % 8), static_cast<int>(random() % 8));
            }
            }
        }
        std::vector<std::uint8_t> data = w.take();
        data.resize(data.size() - std::min<std::size_t>(data.size(), random() % 3));
        const ArtPicture expected = ReferenceDecode(data, width, height, singleWordKeys);
        ASSERT_EQ(DecodeArtEntry(data, width, height, singleWordKeys), expected) << "round " << round;
        DecodeArtEntry(data, width, height, singleWordKeys, reused);
        ASSERT_EQ(reused, expected) << "round " << round << ", picture reused";
        // What the encoder makes of it, into a stream that held something
        // longer before, decodes to the same picture again.
        std::vector<std::uint8_t> encoded(width * height * 4 + 9, 0xEE);
        EncodeArtEntry(expected, singleWordKeys, encoded);
        DecodeArtEntry(encoded, width, height, singleWordKeys, reused);
        EXPECT_EQ(reused, expected) << "round " << round << ", encoded again";
    }
}

namespace {

// The program's encoding pixel by pixel: key runs of up to 255 within a row,
// every other pixel one word (bit 15 cleared, a colour equal to the key one
// step lower); with single-word keys a key pixel is the key word.
std::vector<std::uint8_t> ReferenceEncode(const ArtPicture& p, bool singleWordKeys)
{
    ByteWriter w;
    for (std::uint32_t y = 0; y < p.height; ++y)
        for (std::uint32_t x = 0; x < p.width;) {
            const ArtWord v = p.at(x, y);
            if (v == kArtKeyWord && !singleWordKeys) {
                std::uint32_t n = 0;
                while (x + n < p.width && n < 255 && p.at(x + n, y) == kArtKeyWord)
                    ++n;
                w.u16(kArtKeyWord);
                w.u8(static_cast<std::uint8_t>(n - 1));
                x += n;
                continue;
            }
            const auto literal = static_cast<ArtWord>(v & 0x7FFF);
            w.u16(v == kArtKeyWord ? v : literal == kArtKeyWord ? kArtKeyWord - 1 : literal);
            ++x;
        }
    return w.take();
}

} // namespace

// Pictures of words near the key's (with and without bit 15), mixed with
// plain colours in stretches of every length and at every place in a row,
// so that pixels handled several at a time meet key pixels at each lane.
TEST(ArtEntryCodec, EncodingAgreesWithThePixelRulesOnRandomPictures)
{
    std::mt19937 random(20261209);
    const ArtWord tricky[] = {kArtKeyWord, 0xFC1F, 0x7C1E, 0x7C20, 0x8000, 0xFFFF, 0x0000, 0x7FFF, 0x8001, 0xFC1E};
    std::vector<std::uint8_t> stream;
    ArtPicture back;
    for (int round = 0; round < 300; ++round) {
        ArtPicture p(1 + random() % (round % 4 == 0 ? 700 : 23), 1 + random() % 12);
        const unsigned spread = 1 + random() % 16; // one pixel in `spread` is a tricky one
        for (ArtWord& v : p.words)
            v = random() % spread == 0 ? tricky[random() % std::size(tricky)] : static_cast<ArtWord>(random());
        const bool singleWordKeys = round % 3 == 0;
        const std::vector<std::uint8_t> expected = ReferenceEncode(p, singleWordKeys);
        EncodeArtEntry(p, singleWordKeys, stream);
        ASSERT_EQ(stream, expected) << "round " << round;
        // Decoded back: the same picture but for bit 15 and the key's look-alikes.
        DecodeArtEntry(stream, p.width, p.height, singleWordKeys, back);
        ASSERT_EQ(back, ReferenceDecode(expected, p.width, p.height, singleWordKeys)) << "round " << round;
        for (std::size_t i = 0; i < p.words.size(); ++i)
            ASSERT_EQ(back.words[i] == kArtKeyWord, p.words[i] == kArtKeyWord) << "round " << round << ", pixel " << i;
    }
}
