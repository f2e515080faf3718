#include "TestSupport.h"

#include "app/GamePalette.h"
#include "app/IniFile.h"
#include "app/ProgramState.h"
#include "base/ByteWriter.h"
#include "base/FileUtils.h"
#include "formats/Bmp.h"
#include "formats/PaletteFiles.h"
#include "formats/Png.h"

#include <gtest/gtest.h>

#include <optional>

using namespace pitwall;

namespace {

// A palette no entry of which repeats another's place in the stand-in.
Palette TestPalette()
{
    std::array<Pixel, Palette::kSize> pixels{};
    for (int i = 0; i < Palette::kSize; ++i)
        pixels[static_cast<std::size_t>(i)] = MakePixel(i, 255 - i, (i * 7) % 256);
    return Palette(pixels);
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<std::uint8_t> RiffPal(const Palette& palette, int count)
{
    ByteWriter w;
    w.bytes(Bytes("RIFF"));
    w.u32(static_cast<std::uint32_t>(4 + 8 + 4 + 4 * count));
    w.bytes(Bytes("PAL data"));
    w.u32(static_cast<std::uint32_t>(4 + 4 * count));
    w.u16(0x0300);
    w.u16(static_cast<std::uint16_t>(count));
    for (int i = 0; i < count; ++i) {
        w.u8(static_cast<std::uint8_t>(RedOf(palette.pixel(i))));
        w.u8(static_cast<std::uint8_t>(GreenOf(palette.pixel(i))));
        w.u8(static_cast<std::uint8_t>(BlueOf(palette.pixel(i))));
        w.u8(0);
    }
    return w.take();
}

std::vector<std::uint8_t> Act(const Palette& palette, bool withCount)
{
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < Palette::kSize; ++i)
        for (int c : {RedOf(palette.pixel(i)), GreenOf(palette.pixel(i)), BlueOf(palette.pixel(i))})
            bytes.push_back(static_cast<std::uint8_t>(c));
    if (withCount)
        bytes.insert(bytes.end(), {0x01, 0x00, 0xFF, 0xFF});
    return bytes;
}

std::string Gpl(const Palette& palette, int count)
{
    std::string text = "GIMP Palette\nName: Grand Prix 3\nColumns: 16\n#\n";
    for (int i = 0; i < count; ++i)
        text += std::to_string(RedOf(palette.pixel(i))) + "\t" + std::to_string(GreenOf(palette.pixel(i))) + " "
            + std::to_string(BlueOf(palette.pixel(i))) + "\tIndex " + std::to_string(i) + "\n";
    return text;
}

Image IndexedPicture(const Palette& palette)
{
    Image picture(16, 16, 8);
    picture.setColorTable(palette.table());
    for (int i = 0; i < 256; ++i)
        picture.setPixel(i % 16, i / 16, palette.pixel(i));
    return picture;
}

std::string MessageText(const test::RecordingMessages& sink)
{
    return sink.shown.empty() ? std::string() : sink.shown.back().text;
}

} // namespace

TEST(PaletteFiles, EveryKindGivesTheSameColours)
{
    const Palette palette = TestPalette();
    const std::string jasc = FormatPalette(palette);
    const struct {
        const char* kind;
        std::vector<std::uint8_t> bytes;
    } files[] = {
        {"JASC-PAL", Bytes(jasc)},
        {"own text with another header", Bytes("palette\n1\n256\n" + jasc.substr(jasc.find("\r\n256\r\n") + 7))},
        {"RIFF PAL", RiffPal(palette, 256)},
        {"ACT", Act(palette, false)},
        {"ACT with count", Act(palette, true)},
        {"GIMP GPL", Bytes(Gpl(palette, 256))},
        {"8-bit BMP", EncodeBmp(IndexedPicture(palette))},
        {"palette PNG", EncodePng(IndexedPicture(palette))},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.kind);
        try {
            EXPECT_EQ(DecodePaletteFile(file.bytes), palette);
        } catch (const FormatError& e) {
            ADD_FAILURE() << e.what();
        }
    }
}

TEST(PaletteFiles, WhatIsNoGamePaletteIsRefusedWithTheReason)
{
    const Palette palette = TestPalette();
    auto refusal = [](const std::vector<std::uint8_t>& bytes) {
        try {
            DecodePaletteFile(bytes);
        } catch (const FormatError& e) {
            return std::string(e.what());
        }
        return std::string("taken");
    };
    EXPECT_NE(refusal(Bytes(Gpl(palette, 16))).find("16 colours"), std::string::npos);
    EXPECT_NE(refusal(RiffPal(palette, 200)).find("200 colours"), std::string::npos);
    auto cut = RiffPal(palette, 256);
    ASSERT_GT(cut.size(), 100u);
    cut.erase(cut.end() - 100, cut.end());
    EXPECT_NE(refusal(cut).find("does not fit"), std::string::npos);
    Image trueColour(4, 4, 24);
    EXPECT_NE(refusal(EncodeBmp(trueColour)).find("no colour table"), std::string::npos);
    EXPECT_NE(refusal({0x00, 0x01, 0x02, 0x7F, 0x10}).find("not a palette"), std::string::npos);
    EXPECT_NE(refusal(Bytes("GIMP Palette\n12 oops 7\n")).find("line 2"), std::string::npos);
}

TEST(GamePalette, TheStandInIsKnownAndTheUsersChoiceReplacesIt)
{
    test::TempDir program;
    CopyFileForced(PITWALL_SOURCE_DIR "/resources/GP3 Palette.pal", program / "GP3 Palette.pal");
    std::string language = "Marquee\r\n";
    for (int n = 0; n < 1300; ++n)
        language += "text " + std::to_string(n) + " %s\r\n";
    test::WriteText(program / "ENGLISH.LNG", language);
    const Palette mine = TestPalette();
    test::WriteBytes(program / "mine.act", Act(mine, false));
    test::WriteText(program / "broken.gpl", Gpl(mine, 3));

    auto noVariables = [](const char*) -> std::optional<std::string> { return std::nullopt; };
    ProgramState state;
    test::RecordingMessages sink;
    ASSERT_EQ(StartProgram(state, program.path(), sink, noVariables), StartupOutcome::Ready);
    EXPECT_TRUE(IsStandInPalette(state.palette));
    EXPECT_FALSE(IsStandInPalette(mine));

    // A file that is no palette: told, and nothing changes.
    EXPECT_FALSE(UsePaletteFile(state, program / "broken.gpl", sink));
    EXPECT_EQ(sink.numbers(), std::vector<int>{kPaletteUnreadableText});
    EXPECT_NE(MessageText(sink).find("broken.gpl"), std::string::npos);
    EXPECT_TRUE(IsStandInPalette(state.palette));
    EXPECT_TRUE(state.settings.paletteFile.empty());

    // The user's palette is used, remembered, and read again at the next start.
    EXPECT_TRUE(UsePaletteFile(state, program / "mine.act", sink));
    EXPECT_EQ(state.palette, mine);
    ShutdownCleanup(state, sink);
    IniFile ini;
    ini.load(program / "PITWALL.INI");
    EXPECT_EQ(ini.readString("General", "Palette", ""), program / "mine.act");
    ProgramState again;
    ASSERT_EQ(StartProgram(again, program.path(), sink, noVariables), StartupOutcome::Ready);
    EXPECT_EQ(again.palette, mine);

    // Back to the one beside the program.
    EXPECT_TRUE(UsePaletteFile(again, "", sink));
    EXPECT_TRUE(IsStandInPalette(again.palette));
    EXPECT_TRUE(again.settings.paletteFile.empty());

    // PITWALL_PALETTE wins over the setting for one run; unreadable, it is
    // reported and the start goes on.
    test::WriteText(program / "PITWALL.INI", "[General]\r\nPalette=" + program / "broken.gpl" + "\r\n");
    auto variable = [&](const char* name) -> std::optional<std::string> {
        if (std::string(name) == kPaletteVariable)
            return program / "mine.act";
        return std::nullopt;
    };
    ProgramState fromVariable;
    test::RecordingMessages quiet;
    ASSERT_EQ(StartProgram(fromVariable, program.path(), quiet, variable), StartupOutcome::Ready);
    EXPECT_EQ(fromVariable.palette, mine);
    EXPECT_TRUE(quiet.shown.empty());
    ProgramState fromBrokenSetting;
    ASSERT_EQ(StartProgram(fromBrokenSetting, program.path(), quiet, noVariables), StartupOutcome::Ready);
    EXPECT_TRUE(IsStandInPalette(fromBrokenSetting.palette));
    EXPECT_EQ(quiet.numbers(), std::vector<int>{kPaletteUnreadableText});
}
