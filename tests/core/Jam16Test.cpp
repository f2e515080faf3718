#include "JamTestFiles.h"
#include "TestSupport.h"

#include "base/UITexts.h"
#include "formats/Jam16Codec.h"
#include "formats/JamFile.h"
#include "transfer/ReportedFormats.h"

#include <gtest/gtest.h>

using namespace pitwall;

namespace {

std::vector<std::uint8_t> Concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Fixture : test::JamTestContext {};

} // namespace

TEST(Jam16Runs, OneColourIsRunsOf127AndAShorterOne)
{
    std::vector<std::uint16_t> page(512, 0x1234);
    auto bytes = EncodeJamRuns(page);
    // 512 = 4 x 127 + 4.
    std::vector<std::uint8_t> expected;
    for (int i = 0; i < 4; ++i)
        expected.insert(expected.end(), {127, 0x34, 0x12});
    expected.insert(expected.end(), {4, 0x34, 0x12});
    EXPECT_EQ(bytes, expected);
}

TEST(Jam16Runs, AllDifferentIsLiteralGroupsOf127)
{
    std::vector<std::uint16_t> page(512);
    for (std::size_t i = 0; i < page.size(); ++i)
        page[i] = static_cast<std::uint16_t>(i * 3);
    auto bytes = EncodeJamRuns(page);
    ASSERT_EQ(bytes.size(), 5u + 512 * 2);
    std::size_t at = 0;
    for (int group = 0; group < 5; ++group) {
        const std::size_t size = group < 4 ? 127 : 4;
        EXPECT_EQ(bytes[at], 128 + size) << group;
        at += 1 + 2 * size;
    }
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[3], 3);
}

TEST(Jam16Runs, LiteralGroupEndsWhereARunBegins)
{
    const std::vector<std::uint16_t> values = {1, 2, 3, 3, 3, 4};
    EXPECT_EQ(EncodeJamRuns(values), (std::vector<std::uint8_t>{130, 1, 0, 2, 0, 3, 3, 0, 129, 4, 0}));
    // A single pixel at the end is a group of one.
    EXPECT_EQ(EncodeJamRuns(std::vector<std::uint16_t>{5}), (std::vector<std::uint8_t>{129, 5, 0}));
}

TEST(Jam16Runs, Rgb565Conversions)
{
    EXPECT_EQ(Rgb565FromPixel(MakePixel(255, 255, 255)), 0xFFFF);
    EXPECT_EQ(Rgb565FromPixel(MakePixel(0x88, 0x44, 0x22)), (0x88 << 8) | (0x44 << 3) | (0x22 >> 3));
    EXPECT_EQ(PixelFromRgb565(0xFFFF), MakePixel(248, 252, 248));
    EXPECT_EQ(PixelFromRgb565(0x0821), MakePixel(8, 4, 8));
}

TEST(Jam16Runs, ControlByte128IsAnEmptyGroup)
{
    // One row of 256: run of 200, an empty group, literal of 56 values.
    std::vector<std::uint8_t> stream = {127, 0x1F, 0x00, 73, 0x1F, 0x00, 128, 128 + 56};
    for (int i = 0; i < 56; ++i)
        stream.insert(stream.end(), {static_cast<std::uint8_t>(i), 0});
    Image page(256, 1);
    DecodeJamRuns(stream, 0, std::nullopt, page);
    EXPECT_EQ(page.pixel(199, 0), MakePixel(0, 0, 248));
    EXPECT_EQ(page.pixel(200, 0), 0u);
    EXPECT_EQ(page.pixel(255, 0), PixelFromRgb565(55));
    // Short streams are refused, also in the middle of a group.
    stream.pop_back();
    EXPECT_THROW(DecodeJamRuns(stream, 0, std::nullopt, page), JamError);
    stream.resize(6);
    EXPECT_THROW(DecodeJamRuns(stream, 0, std::nullopt, page), JamError);
}

TEST(Jam16, HeaderRuleAndNormalisedSave)
{
    Fixture f;
    // Two images; the last record has d = 3. The page (one row) is one run of
    // 127, one of 127 and a literal group of 2 values, so the first control
    // byte is f = 127 and e = f - d + 5 = 129 stands in the header for it.
    const int d = 3;
    const int e = 127 - d + 5;
    auto header = test::HandJam16Header(1, {test::HandRecord16(4, 77, 2), test::HandRecord16(d, e, 1)});
    std::vector<std::uint8_t> stream = {/* 127 replaced by the space */ 0x1F,
                                        0x00, //
                                        127,
                                        0xE0,
                                        0x07, //
                                        130,
                                        0x00,
                                        0xF8,
                                        0x01,
                                        0x00};
    // The control byte of the first run sits in place of the header's final
    // space: the header's last byte is the space, and the stream goes on
    // with the run's colour.
    auto file = Concat(header, stream);
    TJAMFile jam(f.palette);
    jam.Decode(file, false);
    EXPECT_FALSE(jam.is8Bit());
    EXPECT_EQ(jam.imageCount(), 2);
    EXPECT_EQ(jam.pageHeight(), 1);
    EXPECT_EQ(jam.page().pixel(0, 0), MakePixel(0, 0, 248));
    EXPECT_EQ(jam.page().pixel(126, 0), MakePixel(0, 0, 248));
    EXPECT_EQ(jam.page().pixel(127, 0), MakePixel(0, 252, 0));
    EXPECT_EQ(jam.page().pixel(254, 0), MakePixel(248, 0, 0));
    EXPECT_EQ(jam.page().pixel(255, 0), PixelFromRgb565(1));

    // Saved: the header with byte m + 9 = 133 - d, then the whole stream.
    auto normalised = header;
    const std::size_t m = header.size() - test::HandRecord16(d, e, 1).size();
    normalised[m + 9] = static_cast<std::uint8_t>(133 - d);
    auto expected = Concat(normalised, EncodeJamRuns(PageToRgb565(jam.page())));
    EXPECT_EQ(expected[normalised.size()], 127);
    EXPECT_EQ(jam.header(), normalised);
    jam.SaveToFile(f.dir / "h.jam");
    EXPECT_EQ(test::ReadBytes(f.dir / "h.jam"), expected);

    // The normalised form gives f = 128: it loads to the same page and saves
    // byte-identical.
    TJAMFile back(f.palette);
    ASSERT_TRUE(LoadJam(back, f.dir / "h.jam", false, &f.messenger));
    EXPECT_EQ(back.page(), jam.page());
    back.SaveToFile(f.dir / "h2.jam");
    EXPECT_EQ(test::ReadBytes(f.dir / "h2.jam"), expected);
    // SaveUnscrambled writes nothing for a 16-bit JAM.
    back.SaveUnscrambled(f.dir / "none.jad");
    EXPECT_FALSE(test::ReadBytes(f.dir / "none.jad").size());
}

TEST(Jam16, BadHeadersAreRefusedAndTheObjectKept)
{
    Fixture f;
    std::vector<std::string> all(1200, "");
    all[322] = "unknown layout";
    all[kJamDamagedText] = "damaged %s: %s";
    f.texts.assign(all, "");
    auto good = Concat(test::HandJam16Header(1, {test::HandRecord16(2, 131)}), {2, 0, 0, 127, 1, 0, 127, 2, 0});
    test::WriteBytes(f.dir / "good.jam", good);
    TJAMFile jam(f.palette, f.dir / "good.jam");
    ASSERT_TRUE(f.sink.shown.empty());
    ASSERT_EQ(jam.pageHeight(), 1);
    const Image before = jam.page();

    auto refuse = [&](const std::vector<std::uint8_t>& bytes, int number, const std::string& why) {
        f.sink.shown.clear();
        test::WriteBytes(f.dir / "bad.jam", bytes);
        EXPECT_FALSE(LoadJam(jam, f.dir / "bad.jam", false, &f.messenger)) << why;
        EXPECT_EQ(f.sink.numbers(), std::vector<int>{number}) << why;
        EXPECT_EQ(jam.page(), before) << why;
    };
    refuse(Concat(test::HandJam16Header(1, {test::HandRecord16(5, 131)}), good), 322, "d = 5");
    refuse(Concat(test::HandJam16Header(1, {test::HandRecord16(1, 131)}), good), 322, "d = 1");
    // No 0xFFFF mark at all: the search would run off the end.
    auto noMark = test::HandJam16Header(1, {});
    noMark[4] = 1;
    noMark.insert(noMark.end(), 40, 0x41);
    refuse(noMark, kJamDamagedText, "no mark");
    // No space after the record.
    auto noSpace = test::HandJam16Header(1, {test::HandRecord16(2, 131)});
    noSpace.back() = 0x41;
    refuse(noSpace, kJamDamagedText, "no space");
    // Record cut before byte m + 9.
    std::vector<std::uint8_t> cut = {0x7F, 0x96, 0x98, 0x00, 1, 0, 1, 0, 0x33, 0xFF, 0xFF, 0, 0, 0, 0, 3};
    refuse(cut, kJamDamagedText, "record cut");
    // Stream one group short of the page.
    auto shortStream = good;
    shortStream.resize(shortStream.size() - 3);
    refuse(shortStream, kJamDamagedText, "short stream");
    // A page of 65535 rows claimed by a tiny file is refused before it is made.
    auto huge = good;
    huge[6] = 0xFF;
    huge[7] = 0xFF;
    refuse(huge, kJamDamagedText, "huge page");
}
