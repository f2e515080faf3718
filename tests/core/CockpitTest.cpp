#include "TestSupport.h"
#include "TransferFixture.h"

#include "JamTestFiles.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "cockpit/CockpitData.h"
#include "cockpit/CockpitGraphics.h"
#include "cockpit/ElementTypeChange.h"
#include "cockpit/LcdEmulation.h"
#include "cockpit/ThreeDFile.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace pitwall {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }
std::string Text(const std::vector<std::uint8_t>& b) { return {b.begin(), b.end()}; }

LcdDisplay Parse(const std::string& file, const LcdDisplay& previous = {})
{
    return ParseThreeD(Bytes(file), previous, DefaultPlaceholderCaptions(), "TEST.3D");
}

// The block written for one screen, cut out of a whole file.
std::string BlockOf(const std::string& file, std::string_view screen)
{
    const std::size_t start = file.find(std::string(screen) + ":\r\n");
    const std::size_t end = file.find(":\r\n\r\n", start + screen.size() + 3);
    std::string block = file.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (end != std::string::npos)
        block = block.substr(0, block.rfind("\r\n\r\n") + 4);
    return block;
}

const LcdScreen& Screen(const LcdDisplay& d, std::string_view name)
{
    return d.screens[static_cast<std::size_t>(LcdScreenIndex(name))];
}

// --- reading and writing .3D files ----------------------------------------

TEST(CockpitThreeD, FourLineBlockReadsAndWritesBackAsTheSameLines)
{
    const std::string block = "BEST_TEXT:\r\n\r\n"
                              "\tDB\t0,2,1,3,0,\"BEST\",7\r\n"
                              "\tDB\t1,9,1,0,2,\"LAP\",0\r\n"
                              "\tDB\t-1\r\n"
                              "\tDB\tlcdp_BEST_LAPTIME, 0,4,2,1,0,5\r\n\r\n";
    LcdDisplay d = Parse(block);
    const LcdScreen& s = Screen(d, "BEST_TEXT");
    EXPECT_EQ(s[0].type(), 3);
    EXPECT_EQ(s[0].text(), "BEST");
    // Fields after the first go to column, row, fine X, fine Y.
    EXPECT_EQ(s[0][1], 2);
    EXPECT_EQ(s[0][3], 1);
    EXPECT_EQ(s[0][2], 3);
    EXPECT_EQ(s[0][LcdElement::kNumber], 7);
    EXPECT_EQ(s[1][0], 1);
    EXPECT_EQ(s[2].type(), 3);
    EXPECT_EQ(s[2].text(), "");
    EXPECT_EQ(s[3].type(), 2);
    EXPECT_EQ(s[3][LcdElement::kIndex], 3);
    EXPECT_EQ(s[3].text(), "lcdp_BEST_LAPTIME");
    EXPECT_EQ(s[3][0], 0);
    EXPECT_EQ(s[3][1], 4);
    EXPECT_EQ(s[3][3], 2);
    EXPECT_EQ(s[3][2], 1);
    EXPECT_EQ(s[3][5], 5);
    // Placeholders get a blank after the name's comma, nothing else does.
    EXPECT_EQ(BlockOf(Text(WriteThreeD(d)), "BEST_TEXT"), block);
}

TEST(CockpitThreeD, EmptyScreensAndTheExchangeSortOrder)
{
    LcdDisplay d;
    // Every element of type 0: identifier, empty line, "-1", empty line.
    std::string file = Text(WriteThreeD(d));
    EXPECT_EQ(file.substr(0, 41), "JACKED_UP_TYRE_CHOICE_TEXT:\r\n\r\n\tDB\t-1\r\n\r\n");
    EXPECT_EQ(file.size(), [] {
        std::size_t n = 0;
        for (auto name : kLcdScreenNames)
            n += name.size() + 1 + 2 + 2 + 8 + 2;
        return n;
    }());

    // Types 2, 2, 3 in slots 0, 1, 2 come out as slots 2, 1, 0.
    LcdScreen& s = d.screens[8];
    for (int i = 0; i < 3; ++i) {
        s[static_cast<std::size_t>(i)].setType(i < 2 ? LcdType::Placeholder : LcdType::Text);
        s[static_cast<std::size_t>(i)][LcdElement::kIndex] = static_cast<std::uint8_t>(i);
        s[static_cast<std::size_t>(i)].setText(i < 2 ? "" : "T");
    }
    const LcdScreen before = s;
    file = Text(WriteThreeD(d));
    EXPECT_EQ(s[0], before[2]);
    EXPECT_EQ(s[1], before[1]);
    EXPECT_EQ(s[2], before[0]);
    EXPECT_EQ(BlockOf(file, "DRIVING_PRACTISE_TEXT"),
              "DRIVING_PRACTISE_TEXT:\r\n\r\n"
              "\tDB\t0,0,0,0,0,\"T\",0\r\n"
              "\tDB\t-1\r\n"
              "\tDB\tlcdp_NUMBER_OF_RUNNERS, 0,0,0,0,0,0\r\n"
              "\tDB\tlcdp_CAR_NUMBER, 0,0,0,0,0,0\r\n\r\n");
}

TEST(CockpitThreeD, BlocksKeepTwentyOneElementsAndCommentsAndSpacingDoNotMatter)
{
    std::string file = "; header comment\r\nSPLIT_TEXT:\r\n";
    for (int i = 0; i < 25; ++i)
        file += "\tDB\t0,0,0,0,0,\"L" + std::to_string(i) + "\"," + std::to_string(i) + "\r\n";
    LcdDisplay d = Parse(file);
    EXPECT_EQ(Screen(d, "SPLIT_TEXT")[20].text(), "L20");
    EXPECT_EQ(Screen(d, "SPLIT_TEXT")[20][LcdElement::kNumber], 20);

    const std::string canonical = "MESS_LAP:\r\n\r\n\tDB\t\"LAP; %d\",12,-1\r\n\r\n"
                                  "DRIVING_RACE_TEXT:\r\n\r\n\tDB\t0,1,2,3,4,\"A \"\"B\",5\r\n\tDB\t-1\r\n"
                                  "\tDB\tHLIGHT_ACCTIME,1,2,9,4\r\n\r\n";
    const std::string handWritten = "; the race\n  mess_lap:   \n DB \"LAP; %d\" , 12 ;comment\n\n"
                                    "UNKNOWN_SCREEN:\n"
                                    "driving_race_text:\nDB 0 , 1,2 ,3,4,\"A \"\"B\",5\n db 1,1,1,1,1,\"x\",1\n"
                                    "DB -1 ; end of texts\n\tDB\tHLIGHT_ACCTIME , 1,2,9,4";
    const LcdDisplay a = Parse(canonical), b = Parse(handWritten);
    EXPECT_EQ(Screen(a, "MESS_LAP")[0].text(), "LAP; %d");
    EXPECT_EQ(Screen(a, "MESS_LAP")[0][LcdElement::kOutside], 1);
    EXPECT_EQ(Screen(a, "DRIVING_RACE_TEXT")[0].text(), "A \"\"B");
    EXPECT_EQ(a, b);

    // Texts are cut at 50 bytes, never between the two quotes of a pair:
    // what is written must read back.
    const std::string pairAcross50 = std::string(49, 'x') + "\"\"yz";
    const LcdDisplay cut = Parse("MESS_LAP:\r\n\tDB\t\"" + pairAcross50 + "\",3\r\nSPLIT_TEXT:\r\n\tDB\t0,0,0,0,0,\""
                                 + pairAcross50 + "\",4\r\n");
    EXPECT_EQ(Screen(cut, "MESS_LAP")[0].text(), std::string(49, 'x'));
    EXPECT_EQ(Screen(cut, "SPLIT_TEXT")[0].text(), std::string(49, 'x'));
    LcdDisplay written = cut;
    const LcdDisplay again = Parse(Text(WriteThreeD(written)));
    EXPECT_EQ(Screen(again, "MESS_LAP")[0], Screen(cut, "MESS_LAP")[0]);
    EXPECT_EQ(Screen(again, "SPLIT_TEXT")[0], Screen(cut, "SPLIT_TEXT")[0]);
}

TEST(CockpitThreeD, RefusedLinesNameFileLineAndTextAndLeaveTheTableAlone)
{
    LcdDisplay previous;
    previous.screens[11][0].setText("KEEP");
    previous.screens[11][0].setType(LcdType::Text);
    const std::string good = "BEST_TEXT:\r\n\tDB\t0,1,2,3,4,\"NEW\",5\r\n";
    struct Case {
        std::string line;
        std::string why;
    };
    for (const Case& c :
         {Case{"\tDB\t0,1,x2,3,4,\"T\",5", "not a number"}, Case{"\tDB\t0,1,256,3,4,\"T\",5", "255"},
          Case{"\tDB\t0,1,-2,3,4,\"T\",5", "not a number"}, Case{"\tDB\t0,1,2,3,4,\"T\"", "7 fields"},
          Case{"\tDB\tHLIGHT_TYRE,1,2,3", "5 fields"}, Case{"\tDB\tlcdp_LAPTIME, 1,2,3,4,5", "7 fields"},
          // Written back between quotes, this text could not be read again.
          Case{"\tDB\t0,1,2,3,4,\"EF\"0U,5", "double quote"}}) {
        try {
            Parse(good + "SPLIT_TEXT:\r\n" + c.line + "\r\n", previous);
            ADD_FAILURE() << c.line;
        } catch (const ThreeDError& e) {
            const std::string m = e.what();
            EXPECT_NE(m.find("TEST.3D, line 4"), std::string::npos) << m;
            EXPECT_NE(m.find(c.why), std::string::npos) << m;
            EXPECT_NE(m.find(c.line.substr(1)), std::string::npos) << m;
        }
    }
    EXPECT_THROW(Parse("MESS_LAP:\r\n\tDB\t\"ALONE\"\r\n"), ThreeDError);
    // "-1" alone is the empty element on every kind of screen, as written.
    EXPECT_NO_THROW(Parse("MESS_LAP:\r\n\tDB\t-1\r\n"));
}

TEST(CockpitThreeD, GeneratedFilesReadAndWriteBackUnchanged)
{
    for (int version : {1, 2}) {
        test::TempDir dir;
        test::MakeDemo(dir.path(), version, 3);
        int files = 0;
        for (int l = 0; l < kLanguageCount; ++l) {
            const std::string path = ResolveGamePath(dir.path(), ThreeDGamePath(l));
            if (!FileExists(path))
                continue;
            ++files;
            const auto bytes = test::ReadBytes(path);
            LcdDisplay d = Parse(Text(bytes));
            EXPECT_EQ(Text(WriteThreeD(d)), Text(bytes)) << path;
            // Every kind of element is there.
            int kinds[5] = {};
            for (const auto& s : d.screens)
                for (const auto& e : s)
                    ++kinds[e.type() % 5];
            EXPECT_GT(kinds[1] * kinds[2] * kinds[3] * kinds[4], 0);
        }
        EXPECT_EQ(files, version == 1 ? 5 : 8);
    }
}

// --- the editor's type choice ----------------------------------------------

TEST(CockpitElementType, ChangesSetWhatTheNewTypeNeeds)
{
    LcdElement e;
    e.setType(LcdType::Text);
    e.setText("HELLO");
    e[1] = 7;
    e[2] = 1;
    e[3] = 2;
    e[4] = 3;
    e[5] = 9;
    e[LcdElement::kIndex] = 4;
    ChangeElementType(e, LcdType::Placeholder, "lcdp_CAR_NUMBER");
    EXPECT_EQ(e.type(), 2);
    EXPECT_EQ(e.text(), "lcdp_CAR_NUMBER");
    EXPECT_EQ(e[LcdElement::kIndex], 0);
    EXPECT_EQ(e[5], 0);
    EXPECT_EQ(e[1], 7); // position kept
    EXPECT_EQ(e[3], 2);

    ChangeElementType(e, LcdType::Highlight, "x");
    EXPECT_EQ(e.text(), "");
    EXPECT_EQ(e[3], 12); // end column five after the start
    EXPECT_EQ(e[4], 1);

    LcdElement none;
    ChangeElementType(none, LcdType::Highlight, "x");
    EXPECT_EQ(none[1], 5);
    EXPECT_EQ(none[3], 10);
    ChangeElementType(none, LcdType::None, "x");
    EXPECT_EQ(none.type(), 0);
    EXPECT_EQ(none[3], 10);
}

// --- the LCD emulation -----------------------------------------------------

constexpr Pixel kInk = 0xFFFFFF;
constexpr Pixel kGround = 0x000000;
constexpr Pixel kLcd = 0x204020;

// A font whose glyph for 'A' is a known pattern (pixel lit where
// (x + 2y) % 3 == 0), every other glyph blank.
LcdFont TestFont()
{
    Image picture(32 * 7, 7 * 11, 24, kGround);
    const int g = 'A' - 32;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 6; ++x)
            if ((x + 2 * y) % 3 == 0)
                picture.setPixel((g % 32) * 7 + x, (g / 32) * 11 + y, kInk);
    return LcdFont(picture);
}

Image TestPreview() { return Image(512, 256, 32, kLcd); }

TEST(CockpitLcd, TextLightsExactlyTheGlyphAndHighlightsInvertExactlyTheirRectangle)
{
    const LcdFont font = TestFont();
    const Image preview = TestPreview();
    LcdScreen screen{};
    LcdElement& text = screen[0];
    text.setType(LcdType::Text);
    text.setText("A");
    text[1] = 3; // column: drawn at column 3 + 0 + 2
    text[2] = 1;
    text[3] = 2;
    text[4] = 0;
    LcdScene scene{&preview, &screen, -1, "outside"};
    Image picture = RenderLcd(scene, font);
    ASSERT_EQ(picture.width(), 290);
    ASSERT_EQ(picture.height(), 130);
    const Rect cell{((5 * 6) + 1 + 1) * 2, (2 * 10 + 1) * 2, (5 * 6 + 1 + 6) * 2, (2 * 10 + 10) * 2};
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool inside = x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom;
            Pixel expected = kLcd;
            if (inside) {
                const int gx = (x - cell.left) * 6 / cell.width(), gy = (y - cell.top) * 10 / cell.height();
                expected = (gx + 2 * gy) % 3 == 0 ? kInk : kGround;
            }
            ASSERT_EQ(picture.pixel(x, y), expected) << x << "," << y;
        }

    // A highlight inverts its rectangle on its row and nothing else.
    screen[0] = LcdElement{};
    LcdElement& h = screen[1];
    h.setType(LcdType::Highlight);
    h[LcdElement::kIndex] = 2; // row 20
    h[1] = 1;
    h[2] = 2;
    h[3] = 4;
    h[4] = 1;
    picture = RenderLcd(scene, font);
    const Rect r{(3 * 6 + 1 + 2) * 2, 21 * 2, (6 * 6 + 1 + 1) * 2, 31 * 2};
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            ASSERT_EQ(picture.pixel(x, y), inside ? (kLcd ^ 0xFFFFFFu) : kLcd) << x << "," << y;
        }
}

// A screen shown outside the cockpit shows its message whole, in lines, however
// long the language file's text ("Diese Anzeige erscheint außerhalb des
// Cockpits." is 47 characters; 46 fit in one line).
TEST(CockpitLcd, OutsideMessageStaysInsideThePicture)
{
    const LcdFont font = TestFont();
    const Image preview = TestPreview();
    LcdScreen screen{};
    screen[0][LcdElement::kOutside] = 1;
    auto inkOf = [&](const std::string& text) {
        const Image picture = RenderLcd(LcdScene{&preview, &screen, -1, text}, font);
        int ink = 0;
        for (Pixel p : picture.pixels())
            ink += p == kInk;
        return ink;
    };
    const int perGlyph = inkOf("A");
    ASSERT_EQ(perGlyph, 20);
    for (const std::string& text : {std::string("AAAAA AAAAAAA AAAAAAAAA AAAAAAAAA AAA AAAAAAAAA"),
                                    std::string(60, 'A'), std::string("AA ") + std::string(120, 'A')}) {
        const auto letters = std::count(text.begin(), text.end(), 'A');
        EXPECT_EQ(inkOf(text), perGlyph * letters) << text;
    }
}

TEST(CockpitLcd, HiddenTextsMessagesAndMissingGraphics)
{
    const LcdFont font = TestFont();
    const Image preview = TestPreview();
    const Image plain = RenderLcd(LcdScene{&preview, nullptr, -1, ""}, font);
    LcdScreen screen{};
    screen[4].setType(LcdType::Text);
    screen[4].setText("A");
    screen[4][0] = 1;
    EXPECT_EQ(RenderLcd(LcdScene{&preview, &screen, -1, ""}, font), plain);
    EXPECT_EQ(RenderLcd(LcdScene{&preview, &screen, 3, ""}, font), plain);
    EXPECT_NE(RenderLcd(LcdScene{&preview, &screen, 4, ""}, font), plain);
    screen[4][0] = 0;
    EXPECT_NE(RenderLcd(LcdScene{&preview, &screen, -1, ""}, font), plain);

    // Placeholders draw their sample value from column byte 1 + 1.
    LcdScreen placeholder{};
    placeholder[0].setType(LcdType::Placeholder);
    const Image sample = RenderLcd(LcdScene{&preview, &placeholder, -1, ""}, font);
    EXPECT_EQ(sample.pixel(13, 2), kLcd);
    EXPECT_EQ(sample.pixel(14, 2), kGround); // first character's cell (a glyph the font leaves blank)
    EXPECT_EQ(sample.pixel(23, 19), kGround);
    EXPECT_EQ(sample.pixel(24, 2), kLcd); // gap before the second character
    EXPECT_EQ(sample.pixel(26, 2), kGround);
    EXPECT_EQ(sample.pixel(38, 2), kLcd); // "00": two characters only

    // Element 0 shown outside the cockpit: the text instead of the LCD.
    screen[0][LcdElement::kOutside] = 1;
    const Image message = RenderLcd(LcdScene{&preview, &screen, -1, "A"}, font);
    EXPECT_EQ(message.pixel(10, 65), kInk); // glyph pixel (0, 0) of 'A' at (10, half height)
    EXPECT_EQ(message.pixel(200, 10), 0u);  // no LCD drawn
    // Graphics not loaded: nothing drawn.
    EXPECT_EQ(RenderLcd(LcdScene{nullptr, &screen, -1, "A"}, font), Image(290, 130));
}

// The steering wheel in the preview: the two halves of sheet slot 2 flank
// the middle (slot 3), each pixel of the colour at (0, 0) left out.
TEST(CockpitGraphics, PreviewPutsTheWheelHalvesEitherSideOfTheMiddle)
{
    const Pixel dash = MakePixel(1, 2, 3), key = MakePixel(0, 0, 0), left = MakePixel(200, 0, 0),
                right = MakePixel(0, 200, 0), middle = MakePixel(0, 0, 200);
    std::vector<TJAMFile> jams(kCockpitJamCount, TJAMFile(test::CountingPalette()));
    jams[0].page() = Image(256, 256, 32, dash);
    jams[1].page() = Image(256, 256, 32, dash);
    jams[2].page() = Image(256, 256, 32, key);
    jams[3].page() = Image(256, 256, 32, key);
    jams[2].page().setPixel(10, 5, left);
    jams[2].page().setPixel(100, 50, right);
    jams[2].page().setPixel(133, 209, right);
    jams[3].page().setPixel(20, 30, middle);
    const Image preview = ComposeCockpitPreview(jams);
    EXPECT_EQ(preview.pixel(10 + 103, 5 + 39), left);
    EXPECT_EQ(preview.pixel(100 + 272, 50 + 39), right);
    EXPECT_EQ(preview.pixel(133 + 272, 209 + 39), right);
    EXPECT_EQ(preview.pixel(20 + 171, 30 + 39), middle);
    EXPECT_EQ(preview.pixel(100 + 205, 50 + 39), dash); // nothing under the middle
    EXPECT_EQ(preview.pixel(0, 39), dash);              // the key colour is left out
}

// The sheet holds each wheel half without its last column and row, as other
// tools' sheets do; taking a sheet back leaves those pixels of the page alone
// (a sheet's gap column is not the wheel's edge).
TEST(CockpitGraphics, SheetHoldsTheWheelHalvesWithinTheirRectangles)
{
    // 8-bit pages, one image over all of each; colours of the palette.
    const Palette palette = test::CountingPalette();
    const Pixel wheel = palette.pixel(10), edge = palette.pixel(100), gap = palette.pixel(200);
    std::vector<TJAMFile> jams(kCockpitJamCount, TJAMFile(palette));
    for (TJAMFile& jam : jams)
        jam.Decode(test::HandJam8(256, {{0, 0, 256, 256, 1, {}}}, std::vector<std::uint8_t>(256 * 256, 10)), true);
    for (int y = 0; y < 256; ++y) {
        jams[2].page().setPixel(66, y, edge);
        jams[2].page().setPixel(133, y, edge);
    }
    for (int x = 0; x < 256; ++x)
        jams[2].page().setPixel(x, 209, edge);
    Image sheet = ComposeCockpitSheet(jams);
    EXPECT_EQ(sheet.pixel(700 + 65, 208), wheel);
    EXPECT_EQ(sheet.pixel(770 + 65, 208), wheel); // page (132, 208)
    EXPECT_NE(sheet.pixel(766, 0), edge);
    EXPECT_NE(sheet.pixel(836, 0), edge);
    EXPECT_NE(sheet.pixel(700, 209), edge);

    for (int y = 0; y < 256; ++y)
        for (int x : {766, 767, 836, 837})
            sheet.setPixel(x, y, gap);
    for (int x = 700; x < 840; ++x)
        sheet.setPixel(x, 209, gap);
    sheet.setPixel(700 + 65, 208, gap);
    TakeCockpitSheet(jams, sheet);
    EXPECT_EQ(jams[2].page().pixel(65, 208), gap);
    EXPECT_EQ(jams[2].page().pixel(66, 0), edge);
    EXPECT_EQ(jams[2].page().pixel(133, 0), edge);
    EXPECT_EQ(jams[2].page().pixel(0, 209), edge);
}

// --- carsets --------------------------------------------------------------

// A carset's display record holds any bytes: a text with a lone quote or a
// line break cannot be written into a .3D line (the game and the program
// would misread the file), so that language's display is refused on load
// and the others are taken.
TEST(CockpitCarset, DisplayTextsNoFileCanHoldAreRefusedOnLoad)
{
    test::TransferFixture a(1), b(2);
    ASSERT_EQ(a.importItems({LcdDisplayItem(0), LcdDisplayItem(1), LcdDisplayItem(2), LcdDisplayItem(3)}),
              TransferOutcome::Done);
    LcdElement& quoted = a.set().cockpit.displays[0].screens[0][0];
    quoted.setType(LcdType::Text);
    quoted.setText("A\"B");
    LcdElement& broken = a.set().cockpit.displays[1].screens[3][2];
    broken.setType(LcdType::Message);
    broken.setText("LINE\r\n\tDB\t-1");
    // A message on a screen of texts: its line would not read as a text.
    LcdElement& misplaced = a.set().cockpit.displays[3].screens[11][0];
    misplaced.setType(LcdType::Message);
    misplaced.setText("PIT NOW");
    const std::string carset = a.root / "lcd.GMS";
    ASSERT_EQ(a.saveCarset(carset), TransferOutcome::Done);

    const LcdDisplay before = b.set().cockpit.displays[0];
    b.messages.shown.clear();
    EXPECT_EQ(b.loadCarset(carset), TransferOutcome::DoneWithErrors);
    const auto& failures = b.engine().lastReport().failures;
    ASSERT_EQ(failures.size(), 3u);
    EXPECT_EQ(failures[0].item, LcdDisplayItem(0));
    EXPECT_NE(failures[0].text.find("LCDDisplay0.DAT"), std::string::npos) << failures[0].text;
    EXPECT_NE(failures[0].text.find("element 1"), std::string::npos) << failures[0].text;
    EXPECT_EQ(failures[1].item, LcdDisplayItem(1));
    EXPECT_EQ(failures[2].item, LcdDisplayItem(3));
    EXPECT_NE(failures[2].text.find("BEST_TEXT, element 1 is a message"), std::string::npos) << failures[2].text;
    EXPECT_TRUE(b.set().cockpit.displays[0] == before);
    EXPECT_FALSE(b.set().transfer.isLoaded(LcdDisplayItem(0)));
    EXPECT_TRUE(b.set().transfer.isLoaded(LcdDisplayItem(2)));
    EXPECT_TRUE(b.set().cockpit.displays[2] == a.set().cockpit.displays[2]);
}

} // namespace
} // namespace pitwall
