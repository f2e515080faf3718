#include "JamTestFiles.h"
#include "TestSupport.h"

#include "base/UITexts.h"
#include "formats/JamFile.h"
#include "formats/JamScramble.h"
#include "transfer/ReportedFormats.h"

#include <gtest/gtest.h>

using namespace pitwall;

namespace {

constexpr int kHeight = 8;

// Three images: tables of 3 entries, none (identity) and 2 entries.
std::vector<test::HandImage> Images()
{
    return {
        {10, 2, 4, 3, 501, {7, 200, 3}},
        {0, 0, 2, 2, 502, {}},
        {100, 5, 5, 1, 503, {9, 8}},
    };
}

// Page bytes with each image's rectangle filled with stored values below its
// table size (any byte for the identity image) and 0 elsewhere, as the
// writer leaves them.
std::vector<std::uint8_t> PageBytes()
{
    std::vector<std::uint8_t> page(256 * kHeight, 0);
    auto put = [&](int x, int y, std::uint8_t v) { page[static_cast<std::size_t>(y * 256 + x)] = v; };
    for (int y = 2; y < 5; ++y)
        for (int x = 10; x < 14; ++x)
            put(x, y, static_cast<std::uint8_t>((x + y) % 3));
    put(0, 0, 17);
    put(1, 0, 254);
    put(0, 1, 100);
    put(1, 1, 1);
    for (int x = 100; x < 105; ++x)
        put(x, 5, static_cast<std::uint8_t>(x % 2));
    return page;
}

struct Fixture : test::JamTestContext {
    std::vector<std::uint8_t> plain = test::HandJam8(kHeight, Images(), PageBytes());

    std::string writeScrambled(const std::string& name, std::vector<std::uint8_t> bytes)
    {
        ScrambleBytes(bytes);
        test::WriteBytes(dir / name, bytes);
        return dir / name;
    }
};

} // namespace

TEST(Jam8, LoadsEntriesTablesAndPage)
{
    Fixture f;
    TJAMFile jam(f.palette);
    ASSERT_TRUE(LoadJam(jam, f.writeScrambled("a.jam", f.plain), false, &f.messenger));
    EXPECT_TRUE(f.sink.shown.empty());
    EXPECT_TRUE(jam.is8Bit());
    EXPECT_EQ(jam.imageCount(), 3);
    EXPECT_EQ(jam.pageHeight(), kHeight);
    EXPECT_EQ(jam.entries()[1].textureId, 502);
    EXPECT_EQ(jam.entries()[2].tableOffset, 12);
    EXPECT_EQ(jam.entries()[0].kept3, 0xA3);

    // Loaded tables: the file's bytes, then zeros; all four the same here.
    EXPECT_EQ(jam.tables(0)[0][1], 200);
    EXPECT_EQ(jam.tables(0)[3][2], 3);
    EXPECT_EQ(jam.tables(0)[0][3], 0);
    // No tables: identity.
    EXPECT_EQ(jam.tables(1)[2][254], 254);

    // Pixels are palette colours through table 0.
    EXPECT_EQ(jam.page().pixel(11, 2), f.palette.pixel(200)); // stored 1 -> index 200
    EXPECT_EQ(jam.page().pixel(10, 2), f.palette.pixel(7));   // stored 0 -> index 7
    EXPECT_EQ(jam.page().pixel(12, 2), f.palette.pixel(3));   // stored 2 -> index 3
    EXPECT_EQ(jam.page().pixel(1, 0), f.palette.pixel(254));  // identity: the index itself
    EXPECT_EQ(jam.page().pixel(101, 5), f.palette.pixel(8));
    EXPECT_EQ(jam.page().pixel(50, 6), 0u); // outside every image: black

    EXPECT_EQ(jam.ImageTop(2), 5);
    EXPECT_EQ(jam.ImageRect(0), (Rect{10, 2, 14, 5}));
}

TEST(Jam8, SaveWritesTheHandBuiltBytesBack)
{
    Fixture f;
    TJAMFile jam(f.palette);
    jam.Decode(f.plain, true);
    auto unscrambled = jam.Assemble(false);
    EXPECT_EQ(std::vector<std::uint8_t>(unscrambled.Content().begin(), unscrambled.Content().end()), f.plain);

    jam.SaveToFile(f.dir / "out.jam");
    auto expected = f.plain;
    ScrambleBytes(expected);
    EXPECT_EQ(test::ReadBytes(f.dir / "out.jam"), expected);

    jam.SaveUnscrambled(f.dir / "out.jad");
    EXPECT_EQ(test::ReadBytes(f.dir / "out.jad"), f.plain);
    TJAMFile raw(f.palette);
    ASSERT_TRUE(LoadJam(raw, f.dir / "out.jad", true, &f.messenger));
    EXPECT_EQ(raw.page(), jam.page());
}

TEST(Jam8, SaveOverALongerFileLeavesNoTail)
{
    Fixture f;
    test::WriteBytes(f.dir / "long.jam", std::vector<std::uint8_t>(f.plain.size() + 500, 0x77));
    TJAMFile jam(f.palette);
    jam.Decode(f.plain, true);
    jam.SaveToFile(f.dir / "long.jam");
    EXPECT_EQ(test::ReadBytes(f.dir / "long.jam").size(), f.plain.size());
}

TEST(Jam8, WriterUsesTheFirstTablePositionOfAColour)
{
    Fixture f;
    // Table 0 names palette index 5 twice; page bytes use the later position.
    std::vector<test::HandImage> images = {{0, 0, 2, 1, 1, {9, 5, 5}}};
    std::vector<std::uint8_t> page(256 * 1, 0);
    page[0] = 2;
    page[1] = 1;
    // A pixel outside the image: the loaded value is not kept.
    page[200] = 99;
    TJAMFile jam(f.palette);
    jam.Decode(test::HandJam8(1, images, page), true);
    auto out = jam.Assemble(false);
    auto bytes = out.Content();
    const std::size_t pageAt = 4 + 32 + 12;
    EXPECT_EQ(bytes[pageAt + 0], 1);
    EXPECT_EQ(bytes[pageAt + 1], 1);
    EXPECT_EQ(bytes[pageAt + 200], 0);
    // A page colour the table does not hold is written as position 0.
    jam.page().setPixel(0, 0, f.palette.pixel(77));
    EXPECT_EQ(jam.Assemble(false).Content()[pageAt], 0);
}

TEST(Jam8, PagesTallerThan768RowsWork)
{
    Fixture f;
    const int tall = 1000;
    std::vector<test::HandImage> images = {{0, 900, 256, 100, 1, {4, 5}}};
    std::vector<std::uint8_t> page(256 * tall, 0);
    for (std::size_t i = 256 * 900; i < page.size(); ++i)
        page[i] = static_cast<std::uint8_t>(i % 2);
    auto plain = test::HandJam8(tall, images, page);
    TJAMFile jam(f.palette);
    ASSERT_TRUE(LoadJam(jam, f.writeScrambled("tall.jam", plain), false, &f.messenger));
    EXPECT_EQ(jam.page().pixel(255, 999), f.palette.pixel(5));
    auto out = jam.Assemble(false);
    EXPECT_EQ(std::vector<std::uint8_t>(out.Content().begin(), out.Content().end()), plain);
}

TEST(Jam8, DamagedFilesAreRefusedAndTheObjectKept)
{
    Fixture f;
    f.texts.assign(std::vector<std::string>(1200, ""), "");
    std::vector<std::string> all(1200, "");
    all[kJamDamagedText] = "damaged %s: %s";
    f.texts.assign(all, "");

    TJAMFile jam(f.palette);
    ASSERT_TRUE(LoadJam(jam, f.writeScrambled("good.jam", f.plain), false, &f.messenger));
    const Image before = jam.page();

    auto refuse = [&](std::vector<std::uint8_t> bytes, const std::string& why) {
        f.sink.shown.clear();
        std::string name = f.writeScrambled("bad.jam", std::move(bytes));
        EXPECT_FALSE(LoadJam(jam, name, false, &f.messenger)) << why;
        ASSERT_EQ(f.sink.shown.size(), 1u) << why;
        EXPECT_EQ(f.sink.shown[0].number, kJamDamagedText) << why;
        EXPECT_NE(f.sink.shown[0].text.find(name), std::string::npos) << why;
        EXPECT_EQ(jam.page(), before) << why;
        EXPECT_EQ(jam.imageCount(), 3) << why;
    };

    auto offPage = Images();
    offPage[2].x = 252; // 252 + 5 > 256
    refuse(test::HandJam8(kHeight, offPage, PageBytes()), "image right of the page");
    auto below = Images();
    below[0].y = 6; // 6 + 3 > 8
    refuse(test::HandJam8(kHeight, below, PageBytes()), "image below the page");

    auto shortPixels = f.plain;
    shortPixels.pop_back();
    refuse(shortPixels, "page one byte short");

    auto farTables = f.plain;
    farTables[4 + 12] = 0xFF; // first image's table offset 0xFFFF
    farTables[4 + 13] = 0xFF;
    refuse(farTables, "tables past the end");

    auto manyEntries = f.plain;
    manyEntries[0] = 0xFF;
    manyEntries[1] = 0x7F;
    refuse(manyEntries, "entries past the end");

    auto bigTable = Images();
    bigTable[0].table.assign(300, 0);
    refuse(test::HandJam8(kHeight, bigTable, PageBytes()), "table of 300 entries");

    refuse({1, 2}, "three bytes");

    // A missing file: UI text 349, object kept.
    f.sink.shown.clear();
    EXPECT_FALSE(LoadJam(jam, f.dir / "none.jam", false, &f.messenger));
    EXPECT_EQ(f.sink.numbers(), std::vector<int>{349});
    EXPECT_EQ(jam.page(), before);
}

TEST(Jam8, RebuildTablesListsUsedIndicesAndMovesLaterOffsets)
{
    Fixture f;
    TJAMFile jam(f.palette);
    jam.Decode(f.plain, true);
    // Paint image 0 (4 x 3 at 10,2) with three palette colours.
    Image& page = jam.page();
    for (int y = 2; y < 5; ++y)
        for (int x = 10; x < 14; ++x)
            page.setPixel(x, y, f.palette.pixel(x < 11 ? 90 : (x < 13 ? 30 : 60)));
    jam.RebuildTables(0);
    EXPECT_EQ(jam.entries()[0].tableSize, 3);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(jam.tables(0)[static_cast<std::size_t>(k)][0], 30);
        EXPECT_EQ(jam.tables(0)[static_cast<std::size_t>(k)][1], 60);
        EXPECT_EQ(jam.tables(0)[static_cast<std::size_t>(k)][2], 90);
        EXPECT_EQ(jam.tables(0)[static_cast<std::size_t>(k)][3], 0);
    }
    // Image 1 has no tables and keeps identity; image 2's offset follows.
    jam.RebuildTables(1);
    EXPECT_EQ(jam.entries()[1].tableSize, 0);
    EXPECT_EQ(jam.TableOffset(2), 12);
    EXPECT_EQ(jam.entries()[2].tableOffset, 12);

    // Image 2 with four colours: the offsets after it would move.
    for (int x = 100; x < 105; ++x)
        page.setPixel(x, 5, f.palette.pixel(x));
    jam.RebuildTables(2);
    EXPECT_EQ(jam.entries()[2].tableSize, 5);

    // What is written loads back to the same pixels.
    auto out = jam.Assemble(true);
    TJAMFile back(f.palette);
    back.Decode(out.Content(), false);
    EXPECT_EQ(back.page(), jam.page());
    EXPECT_EQ(back.entries(), jam.entries());
}

TEST(Jam8, ImageAtIsStrictOnEveryEdge)
{
    Fixture f;
    TJAMFile jam(f.palette);
    jam.Decode(f.plain, true);
    // Image 2 covers x 100..104, y 5; image 0 x 10..13, y 2..4.
    EXPECT_EQ(jam.ImageAt(10, 2), 0);  // top-left corner: in none
    EXPECT_EQ(jam.ImageAt(11, 3), 0);  // inside image 0
    EXPECT_EQ(jam.ImageAt(101, 5), 0); // on image 2's top edge: in none
    EXPECT_EQ(jam.ImageAt(-1, 3), 0);
    EXPECT_EQ(jam.ImageAt(300, 3), 0);

    // A taller image 2 so that a point lies strictly inside.
    auto images = Images();
    images[2].y = 4;
    images[2].h = 3;
    TJAMFile second(f.palette);
    second.Decode(test::HandJam8(kHeight, images, PageBytes()), true);
    EXPECT_EQ(second.ImageAt(101, 5), 2);
    EXPECT_EQ(second.ImageAt(100, 5), 0); // left edge
    EXPECT_EQ(second.ImageAt(104, 5), 2);
    EXPECT_EQ(second.ImageAt(105, 5), 0); // right edge is outside
}

TEST(Jam8, OverlappingImagesLaterWins)
{
    Fixture f;
    std::vector<test::HandImage> images = {{0, 0, 4, 1, 1, {10}}, {2, 0, 4, 1, 2, {20}}};
    std::vector<std::uint8_t> page(256, 0);
    TJAMFile jam(f.palette);
    jam.Decode(test::HandJam8(1, images, page), true);
    EXPECT_EQ(jam.page().pixel(1, 0), f.palette.pixel(10));
    EXPECT_EQ(jam.page().pixel(2, 0), f.palette.pixel(20));
}
