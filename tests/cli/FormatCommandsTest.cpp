// art, sound, text and track commands on a generated installation.

#include "CliRunner.h"
#include "TestSupport.h"

#include "DemoArtPictures.h"
#include "DemoInstallation.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "base/Windows1252.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankPictures.h"
#include "formats/Bmp.h"
#include "formats/Pictures.h"
#include "formats/Png.h"
#include "formats/SoundBank.h"
#include "formats/StringFile.h"
#include "transfer/ReportedFormats.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace pitwall;

namespace {

std::string MakeGame(const test::TempDir& dir)
{
    demo::WriteDemoInstallation(dir / "game", {});
    return dir / "game";
}

} // namespace

TEST(FormatCommands, ArtExpandAllThenWriteABackground)
{
    test::TempDir dir;
    const std::string game = MakeGame(dir);
    const std::string bank = ResolveGamePath(game + "/", "BITMAPS\\GP3ART5.BIN");
    auto info = test::RunCommand({"art", "info", game, "755"});
    EXPECT_EQ(info.code, 0);
    EXPECT_NE(info.out.find("800 x 600"), std::string::npos) << info.out;
    // The shared spellings say the same as the older positional ones.
    EXPECT_EQ(test::RunCommand({"art", "info", "--game", game, "--entry", "755"}).out, info.out);
    EXPECT_EQ(test::RunCommand({"art", "info", "--file", bank, "--entry", "755"}).out, info.out);

    // A background that has not been expanded refuses a new picture.
    ArtPicture fresh(800, 600);
    for (std::uint32_t i = 0; i < fresh.words.size(); ++i)
        fresh.words[i] = static_cast<ArtWord>((i * 2654435761u >> 7) & 0x7FFF);
    // Key pixels in runs: a lone one takes three bytes, more than an
    // expanded entry holds for a picture without any compression.
    for (std::uint32_t x = 100; x < 140; ++x)
        fresh.at(x, 7) = kArtKeyWord;
    SaveBmpFile(ArtPictureToImage(fresh), dir / "new.bmp");
    auto refused = test::RunCommand({"art", "import", "760", dir / "new.bmp", "--game", game});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1);

    auto expand = test::RunCommand({"art", "expand", "--entries", "all", "--game", game, "--quiet"});
    ASSERT_EQ(expand.code, 0) << expand.err;
    EXPECT_FALSE(FileExists(bank + ".OLD"));
    EXPECT_FALSE(FileExists(bank + ".NEW"));
    ArtDirectory directory;
    ASSERT_TRUE(ReadArtDirectory(bank, directory, nullptr));
    for (std::size_t i = 0; i < kArtEntryCount; ++i) {
        ASSERT_TRUE(directory.entries[i].fits()) << i;
        ArtPicture p;
        ASSERT_TRUE(ReadArtImage(bank, i, p, nullptr));
        ASSERT_EQ(p, demo::DemoArtPicture(i, 1)) << "entry " << i;
    }
    // Nothing left to expand: said, exit 1, the bank as it was.
    const auto expanded = test::ReadBytes(bank);
    auto again = test::RunCommand({"art", "expand", "--entries", "755-839", "--game", game});
    EXPECT_EQ(again.code, 1);
    EXPECT_NE(again.err.find("nothing was expanded"), std::string::npos) << again.err;
    EXPECT_EQ(test::ReadBytes(bank), expanded);

    auto imported = test::RunCommand({"art", "import", "760", dir / "new.bmp", "--game", game});
    ASSERT_EQ(imported.code, 0) << imported.err;
    ArtPicture back;
    ASSERT_TRUE(ReadArtImage(bank, 760, back, nullptr));
    EXPECT_EQ(back, fresh);
    ASSERT_TRUE(ReadArtImage(bank, 761, back, nullptr));
    EXPECT_EQ(back, demo::DemoArtPicture(761, 1));

    // Exported and imported again, an entry stays the same.
    ASSERT_EQ(test::RunCommand({"art", "export", "760", dir / "out.bmp", "--game", game}).code, 0);
    EXPECT_EQ(ArtPictureFromImage(LoadBmpFile(dir / "out.bmp")), fresh);
}

// A menu background from a PNG with a transparent corner: the corner black,
// said once; exported again, the same pixels. A file kind that is not read is
// refused in the command line's words.
TEST(FormatCommands, ArtImportTakesPngsAndJpgs)
{
    test::TempDir dir;
    const std::string game = MakeGame(dir);
    const std::string bank = ResolveGamePath(game + "/", "BITMAPS\\GP3ART5.BIN");
    // Room for any picture of the entry's size (the generator may have made
    // it so already).
    test::RunCommand({"art", "expand", "--entries", "755", "--game", game, "--quiet"});

    // Channels in steps of 8 pass the bank's 15 bits unchanged.
    Image picture(800, 600, 24);
    std::vector<std::uint8_t> alpha;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            picture.setPixel(x, y, MakePixel(x % 32 * 8, y % 32 * 8, (x + y) % 16 * 8));
            alpha.push_back(x < 40 && y < 30 ? 0 : 255);
        }
    test::WriteRgbaPng(dir / "corner.png", picture, alpha);
    auto imported = test::RunCommand({"art", "import", "755", dir / "corner.png", "--game", game});
    ASSERT_EQ(imported.code, 0) << imported.err;
    const std::string note = dir / "corner.png" + ": transparent pixels were put on black.\n";
    EXPECT_NE(imported.err.find(note), std::string::npos) << imported.err;
    EXPECT_EQ(imported.err.find("transparent"), imported.err.rfind("transparent")) << imported.err; // once
    ASSERT_EQ(test::RunCommand({"art", "export", "755", dir / "out.png", "--game", game, "--quiet"}).code, 0);
    const Image back = LoadPngFile(dir / "out.png");
    ASSERT_EQ(back.width(), 800);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            ASSERT_EQ(back.pixel(x, y), x < 40 && y < 30 ? Pixel{0} : picture.pixel(x, y)) << x << "," << y;

    // An opaque picture says nothing; a JPG goes in as well.
    SavePngFile(picture, dir / "plain.PNG");
    auto plain = test::RunCommand({"art", "import", "755", dir / "plain.PNG", "--game", game});
    EXPECT_EQ(plain.code, 0) << plain.err;
    EXPECT_EQ(plain.err.find("transparent"), std::string::npos) << plain.err;
    SavePicture(picture, dir / "photo.jpg");
    EXPECT_EQ(test::RunCommand({"art", "import", "755", dir / "photo.jpg", "--game", game}).code, 0);
    ArtPicture stored;
    ASSERT_TRUE(ReadArtImage(bank, 755, stored, nullptr));
    EXPECT_EQ(stored, ArtPictureFromImage(LoadPicture(dir / "photo.jpg")));

    const auto before = test::ReadBytes(bank);
    test::WriteBytes(dir / "art.gif", {'G', 'I', 'F', '8', '9', 'a'});
    auto gif = test::RunCommand({"art", "import", "755", dir / "art.gif", "--game", game});
    EXPECT_EQ(gif.code, 1);
    EXPECT_EQ(gif.err,
              "pitwall-cli: " + dir / "art.gif"
                  + ": this file type is not supported here; use a .BMP, .PNG or .JPG picture.\n");
    EXPECT_EQ(test::ReadBytes(bank), before);
}

TEST(FormatCommands, ArtMistakesAreOneLine)
{
    test::TempDir dir;
    const std::string game = MakeGame(dir);
    EXPECT_EQ(test::RunCommand({"art", "info", game, "840"}).code, 2);
    EXPECT_EQ(test::RunCommand({"art", "info", dir / "nothing.BIN"}).code, 1);
    EXPECT_EQ(test::RunCommand({"art", "expand", "--entries", "5-900", "--game", game}).code, 2);
    auto wrongSize = test::RunCommand({"art", "export", "70", dir / "car.bmp", "--game", game});
    ASSERT_EQ(wrongSize.code, 0);
    auto bytes = test::ReadBytes(ResolveGamePath(game + "/", "BITMAPS\\GP3ART5.BIN"));
    auto r = test::RunCommand({"art", "import", "71", dir / "car.bmp", "--game", game});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1); // the right size, but compressed
    r = test::RunCommand({"art", "import", "72", dir / "car.bmp", "--game", game});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("34"), std::string::npos) << r.err;
    EXPECT_EQ(test::ReadBytes(ResolveGamePath(game + "/", "BITMAPS\\GP3ART5.BIN")), bytes);
}

TEST(FormatCommands, SoundsListExtractReplace)
{
    test::TempDir dir;
    const std::string game = MakeGame(dir);
    auto list = test::RunCommand({"sound", "list", "--game", game});
    ASSERT_EQ(list.code, 0);
    EXPECT_EQ(list.out.rfind("sounds: 132\n", 0), 0u);
    ASSERT_EQ(test::RunCommand({"sound", "extract", "7", dir / "s7.wav", "--game", game}).code, 0);
    EXPECT_EQ(FileSizeOf(dir / "s7.wav"), 44u + 524'288);
    ASSERT_EQ(test::RunCommand({"sound", "extract", "3", dir / "s3.wav", "--game", game}).code, 0);
    const std::string bankFile = ResolveGamePath(game + "/", "SAMPLES\\GP3SOUND.DAT");
    const auto before = ParseSoundBank(test::ReadBytes(bankFile)).bank;
    ASSERT_EQ(test::RunCommand({"sound", "replace", "4", dir / "s3.wav", "--game", game}).code, 0);
    const auto after = ParseSoundBank(test::ReadBytes(bankFile)).bank;
    EXPECT_EQ(after.samples[4], before.samples[3]);
    EXPECT_EQ(after.entries[4].keptWord, before.entries[4].keptWord);
    EXPECT_EQ(after.samples[5], before.samples[5]);
    // The third field gave each sound's position: the sounds after the
    // replaced one get their new positions.
    ASSERT_NE(after.entries[4].dataSize, before.entries[4].dataSize);
    EXPECT_EQ(after.entries[5].keptWord, after.entries[4].keptWord + after.entries[4].dataSize);
    EXPECT_EQ(KeptWordLayoutOf(after), KeptWordLayout::DataPosition);

    // The same sound with another RIFF size, as a standard writer puts it,
    // goes in unchanged.
    auto foreign = test::ReadBytes(dir / "s3.wav");
    foreign[4] = 0;
    test::WriteBytes(dir / "other.wav", foreign);
    ASSERT_EQ(test::RunCommand({"sound", "replace", "5", dir / "other.wav", "--game", game}).code, 0);
    EXPECT_EQ(ParseSoundBank(test::ReadBytes(bankFile)).bank.samples[5], before.samples[3]);
    // Header fields no decoder makes sense of: refused naming the file.
    const auto sound3 = test::ReadBytes(dir / "s3.wav");
    auto patched = [&](std::size_t at, std::uint32_t value, int width) {
        auto wav = sound3;
        for (int i = 0; i < width; ++i)
            wav[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
        return wav;
    };
    auto silent = patched(34, 0, 2);
    silent[22] = 9;
    const std::vector<std::pair<std::vector<std::uint8_t>, const char*>> refused = {
        {patched(24, 0xFFFFFFFF, 4), "sample rate"},
        {patched(16, 0xFFFFFFF0, 4), "chunk"},
        {silent, "9 channels"},
        {patched(34, 0, 2), "0 bits"}};
    const auto bankBefore = test::ReadBytes(bankFile);
    for (const auto& [wav, reason] : refused) {
        test::WriteBytes(dir / "bad.wav", wav);
        auto bad = test::RunCommand({"sound", "replace", "4", dir / "bad.wav", "--game", game});
        EXPECT_EQ(bad.code, 1) << reason;
        EXPECT_NE(bad.err.find("bad.wav is not a sound file"), std::string::npos) << reason << ": " << bad.err;
        EXPECT_EQ(test::ReadBytes(bankFile), bankBefore) << reason;
    }
    EXPECT_EQ(test::RunCommand({"sound", "extract", "132", dir / "x.wav", "--game", game}).code, 1);
}

TEST(FormatCommands, TextsExportAndImport)
{
    test::TempDir dir;
    const std::string game = MakeGame(dir);
    const std::string english = ResolveGamePath(game + "/", "LDATA\\ENGLISH.str");
    const auto original = test::ReadBytes(english);
    ASSERT_EQ(test::RunCommand({"text", "export", "english", dir / "en.txt", "--game", game}).code, 0);
    ASSERT_EQ(test::RunCommand({"text", "export", "ENGLISH", dir / "en.str", "--game", game}).code, 0);
    EXPECT_EQ(test::ReadBytes(dir / "en.str"), original);
    ASSERT_EQ(test::RunCommand({"text", "import", "ENGLISH", dir / "en.txt", "--game", game}).code, 0);
    EXPECT_EQ(test::ReadBytes(english), original);
    ASSERT_EQ(test::RunCommand({"text", "export", "ESPA\xC3\xB1OL", dir / "es.txt", "--game", game}).code, 0);

    // A count that fits no version is refused unless forced.
    auto strings = ReadTextFile(dir / "en.txt");
    strings.pop_back();
    WriteTextFile(dir / "short.txt", strings);
    auto refused = test::RunCommand({"text", "import", "ENGLISH", dir / "short.txt", "--game", game});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(test::ReadBytes(english), original);
    EXPECT_EQ(test::RunCommand({"text", "import", "ENGLISH", dir / "short.txt", "--game", game, "--force"}).code, 0);
    EXPECT_EQ(ParseStringFile(test::ReadBytes(english)).size(), strings.size());
    EXPECT_EQ(test::RunCommand({"text", "export", "KLINGON", dir / "x.txt", "--game", game}).code, 1);
    EXPECT_EQ(test::RunCommand({"text", "export", "ENGLISH", dir / "x.doc", "--game", game}).code, 1);
}

// A .TXT saved by a Linux editor (UTF-8) goes into the game's file as
// Windows-1252; a character the game cannot show is refused by line and
// column and the file stays as it was.
TEST(FormatCommands, TextImportTakesUtf8AndRefusesWhatTheGameCannotShow)
{
    test::TempDir dir;
    const std::string game = MakeGame(dir);
    const std::string english = ResolveGamePath(game + "/", "LDATA\\ENGLISH.str");
    ASSERT_EQ(test::RunCommand({"text", "export", "ENGLISH", dir / "en.txt", "--game", game}).code, 0);
    auto lines = ReadTextFile(dir / "en.txt");
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i == 5 ? std::string("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC") : Windows1252ToUtf8(EscapeTextLine(lines[i])))
                + "\n";
    test::WriteText(dir / "utf8.txt", text);
    auto r = test::RunCommand({"text", "import", "ENGLISH", dir / "utf8.txt", "--game", game});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto imported = ParseStringFile(test::ReadBytes(english));
    ASSERT_GT(imported.size(), 5u);
    EXPECT_EQ(imported[5], "\x47\x72\xFC\xDF\x65\x20\x80");

    const auto before = test::ReadBytes(english);
    const std::size_t at = text.find("Gr\xC3\xBC");
    test::WriteText(dir / "omega.txt", text.substr(0, at) + "ab\xCE\xA9" + text.substr(at));
    r = test::RunCommand({"text", "import", "ENGLISH", dir / "omega.txt", "--game", game});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("omega.txt, line 6, column 3: the character \"\xCE\xA9\""), std::string::npos) << r.err;
    EXPECT_TRUE(test::ReadBytes(english) == before);

    // Export: Windows-1252 as the game has it, or UTF-8 when asked.
    ASSERT_EQ(test::RunCommand({"text", "export", "ENGLISH", dir / "a.txt", "--game", game}).code, 0);
    EXPECT_NE(test::ReadText(dir / "a.txt").find("Gr\xFC\xDF" "e \x80\r\n"), std::string::npos);
    ASSERT_EQ(
        test::RunCommand({"text", "export", "ENGLISH", dir / "u.txt", "--encoding", "utf-8", "--game", game}).code, 0);
    EXPECT_NE(test::ReadText(dir / "u.txt").find("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\r\n"), std::string::npos);
    EXPECT_EQ(
        test::RunCommand({"text", "export", "ENGLISH", dir / "u.str", "--encoding", "utf-8", "--game", game}).code, 1);
}

TEST(FormatCommands, TrackInfo)
{
    test::TempDir dir;
    const std::string game = MakeGame(dir);
    auto r = test::RunCommand({"track", "info", ResolveGamePath(game + "/", "CIRCUITS\\F1CT14.DAT")});
    ASSERT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("NAME: Monza\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("LAPS: 53\n"), std::string::npos);
    EXPECT_NE(r.out.find("  GP3JAMS\\MONZA.JAM\n"), std::string::npos);
    EXPECT_EQ(test::RunCommand({"track", "info", dir / "none.DAT"}).code, 1);
}
