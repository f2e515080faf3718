#include "CliRunner.h"
#include "TestSupport.h"
#include "TestWavs.h"

#include "base/FileUtils.h"
#include "formats/Bmp.h"
#include "formats/SoundBank.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace pitwall;

namespace {

constexpr const char* kBank = "SAMPLES/GP3SOUND.DAT";

SoundBank Bank(const std::string& game) { return ParseSoundBank(test::ReadBytes(game + "/" + kBank)).bank; }

TEST(MediaCli, SoundsGoOutAsWavFilesAndComeBackWhateverTheCase)
{
    test::TempDir dir;
    const std::string a = dir / "A", b = dir / "B", wavs = dir / "wavs", only = dir / "only";
    test::MakeDemo(a, 2, 1);
    test::MakeDemo(b, 2, 2);
    ForceDirectories(wavs);
    ForceDirectories(only);
    auto extracted = test::RunCommand({"sound", "extract-all", "--game", a, wavs, "--quiet"});
    ASSERT_EQ(extracted.code, 0) << extracted.err;
    EXPECT_TRUE(FileExists(wavs + "/Sound0.WAV"));
    EXPECT_TRUE(FileExists(wavs + "/Sound131.WAV"));

    // Only sound 3, named as on Windows: B changes there alone.
    test::WriteBytes(only + "/SOUND3.WAV", test::ReadBytes(wavs + "/Sound3.WAV"));
    const SoundBank before = Bank(b), bankA = Bank(a);
    auto replaced = test::RunCommand({"sound", "replace-all", "--game", b, only, "--verbose"});
    ASSERT_EQ(replaced.code, 0) << replaced.err;
    EXPECT_EQ(replaced.out, "");
    EXPECT_NE(replaced.err.find("replaced sound 3\nreplaced 1 sounds\n"), std::string::npos) << replaced.err;
    const SoundBank after = Bank(b);
    ASSERT_EQ(after.entries.size(), before.entries.size());
    for (std::size_t i = 0; i < after.entries.size(); ++i) {
        const SoundBank& expected = i == 3 ? bankA : before;
        EXPECT_EQ(after.entries[i].dataSize, expected.entries[i].dataSize) << i;
        EXPECT_TRUE(after.samples[i] == expected.samples[i]) << i;
    }
    // The third directory field stays B's own.
    EXPECT_EQ(after.entries[3].keptWord, before.entries[3].keptWord);

    // Everything A extracted goes into B: B's sounds become A's.
    ASSERT_EQ(test::RunCommand({"sound", "replace-all", "--game", b, wavs, "--quiet"}).code, 0);
    const SoundBank all = Bank(b);
    for (std::size_t i = 0; i < all.entries.size(); ++i)
        EXPECT_TRUE(all.samples[i] == bankA.samples[i]) << i;

    // A WAV that is not the program's kind stops the run before B changes.
    const auto bytes = test::ReadBytes(b + "/" + kBank);
    test::WriteBytes(only + "/sound4.wav", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'});
    auto refused = test::RunCommand({"sound", "replace-all", "--game", b, only, "--quiet"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("nothing was written"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("sound4.wav"), std::string::npos) << refused.err;
    EXPECT_TRUE(test::ReadBytes(b + "/" + kBank) == bytes);
}

// WAVs as other tools write them go in converted, and the command says from
// what to what; files that are no sound are refused by name and nothing
// changes.
TEST(MediaCli, SoundsFromAnyToolAreConvertedAndNonSoundsNamed)
{
    test::TempDir dir;
    const std::string game = dir / "G", only = dir / "only/";
    test::MakeDemo(game, 2, 1);
    ForceDirectories(only);
    const SoundBank before = Bank(game);
    test::WriteSineWav(dir / "stereo.wav", {48000, SF_FORMAT_PCM_16, {0.5, 0.3}, 4800});
    auto r = test::RunCommand({"sound", "replace", "4", dir / "stereo.wav", "--game", game});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("48000 Hz 16-bit stereo to " + std::to_string(before.entries[4].sampleRate) + " Hz"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("stereo.wav"), std::string::npos) << r.err;
    const SoundBank after = Bank(game);
    const SoundEntry& e = after.entries[4];
    EXPECT_EQ(e.sampleRate, before.entries[4].sampleRate);
    EXPECT_EQ(e.keptWord, before.entries[4].keptWord);
    EXPECT_NEAR(e.dataSize / (e.bits / 8.0) / e.sampleRate, 0.1, 1.0 / e.sampleRate);

    const auto bytes = test::ReadBytes(game + "/" + kBank);
    test::WriteText(dir / "notes.wav", "not a sound\n");
    r = test::RunCommand({"sound", "replace", "4", dir / "notes.wav", "--game", game});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("notes.wav is not a sound file"), std::string::npos) << r.err;
    EXPECT_TRUE(test::ReadBytes(game + "/" + kBank) == bytes);

    // Replace all: each file refused is named, and nothing is written.
    test::WriteSineWav(only + "SOUND3.WAV", {48000, SF_FORMAT_FLOAT, {0.5}, 4800});
    test::WriteText(only + "sound5.wav", "not a sound either\n");
    test::WriteSineWav(only + "Sound6.wav", {22050, SF_FORMAT_PCM_16, {0.5}, 0});
    r = test::RunCommand({"sound", "replace-all", "--game", game, only});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("sound5.wav is not a sound file"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Sound6.wav holds no sound"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
    EXPECT_TRUE(test::ReadBytes(game + "/" + kBank) == bytes);
    DeleteFileForced(only + "sound5.wav");
    DeleteFileForced(only + "Sound6.wav");
    r = test::RunCommand({"sound", "replace-all", "--game", game, only});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("SOUND3.WAV was converted from 48000 Hz 32-bit float mono"), std::string::npos) << r.err;
    EXPECT_EQ(Bank(game).entries[3].sampleRate, before.entries[3].sampleRate);
}

TEST(MediaCli, MenuBackgroundsAndLoadingPicturesAsFiles)
{
    test::TempDir dir;
    const std::string a = dir / "A", b = dir / "B", out = dir / "out/";
    test::MakeDemo(a, 2, 1);
    test::MakeDemo(b, 2, 2);
    ForceDirectories(out);

    // Run where a file of a replacement's name lies: every picture still
    // comes from the bank.
    test::WriteText(out + "MenuReplace84.BMP", "not a picture");
    const std::filesystem::path started = std::filesystem::current_path();
    std::filesystem::current_path(NativePath(out));
    auto backgrounds = test::RunCommand({"art", "menu", "export-all", "--game", a, out + "BG*.JPG"});
    std::filesystem::current_path(started);
    ASSERT_EQ(backgrounds.code, 0) << backgrounds.err;
    EXPECT_EQ(ListFiles(out, "BG*.JPG", false, false).size(), 85u);
    const auto jpg = test::ReadBytes(out + "BG84.JPG");
    ASSERT_GE(jpg.size(), 2u);
    EXPECT_EQ(jpg[0], 0xFF);
    EXPECT_EQ(jpg[1], 0xD8);
    EXPECT_EQ(test::RunCommand({"art", "menu", "export-all", "--game", a, out + "BG.JPG"}).code, 1);

    ASSERT_EQ(test::RunCommand({"art", "loading", "export", "--game", a, out + "L*.BMP", "--quiet"}).code, 0);
    for (int n = 1; n <= 6; ++n)
        EXPECT_TRUE(test::ReadBytes(out + "L" + std::to_string(n) + ".BMP")
                    == test::ReadBytes(a + "/BITMAPS/LOADING" + std::to_string(n) + ".BMP"));
    ASSERT_EQ(test::RunCommand({"art", "loading", "import", "--game", b, out + "L*.BMP", "--quiet"}).code, 0);
    for (int n = 1; n <= 6; ++n)
        EXPECT_TRUE(test::ReadBytes(b + "/BITMAPS/LOADING" + std::to_string(n) + ".BMP")
                    == test::ReadBytes(a + "/BITMAPS/LOADING" + std::to_string(n) + ".BMP"));

    // A picture of another size is only stretched when --yes says so.
    const std::string small = dir / "small";
    ForceDirectories(small);
    SaveBmpFile(Image(320, 240, 24, MakePixel(10, 200, 30)), small + "/S2.BMP");
    const auto second = test::ReadBytes(b + "/BITMAPS/LOADING2.BMP");
    auto asked = test::RunCommand({"art", "loading", "import", "--game", b, small + "/S*.BMP", "--quiet"});
    EXPECT_EQ(asked.code, 1);
    EXPECT_NE(asked.err.find("--yes"), std::string::npos) << asked.err;
    EXPECT_TRUE(test::ReadBytes(b + "/BITMAPS/LOADING2.BMP") == second);
    ASSERT_EQ(test::RunCommand({"art", "loading", "import", "--game", b, small + "/S*.BMP", "--yes", "--quiet"}).code,
              0);
    Image stretched = DecodeBmp(test::ReadBytes(b + "/BITMAPS/LOADING2.BMP"));
    EXPECT_EQ(stretched.width(), 640);
    EXPECT_EQ(stretched.height(), 480);
    // Stored as the game keeps it: 8-bit, with the game file's colour table.
    const Image game = DecodeBmp(second);
    EXPECT_EQ(stretched.depth(), game.depth());
    EXPECT_EQ(stretched.colorTable(), game.colorTable());
}

TEST(MediaCli, TeamArtTravelsByCarsetWhenTheArtBankMayGrow)
{
    test::TempDir dir;
    const std::string a = dir / "A", b = dir / "B", carset = dir / "art.GMS";
    test::MakeDemo(a, 2, 1);
    test::MakeDemo(b, 2, 2);
    auto imported = test::RunCommand({"import", "--game", a, "--items", "104-114,117,5", "-o", carset, "--quiet"});
    ASSERT_EQ(imported.code, 0) << imported.err;
    const auto bank = test::ReadBytes(b + "/BITMAPS/GP3ART5.BIN");
    auto refused = test::RunCommand({"apply", carset, "--game", b, "--quiet"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("--yes"), std::string::npos) << refused.err;
    EXPECT_TRUE(test::ReadBytes(b + "/BITMAPS/GP3ART5.BIN") == bank);
    auto applied = test::RunCommand({"apply", carset, "--game", b, "--yes", "--quiet"});
    ASSERT_EQ(applied.code, 0) << applied.err;
    EXPECT_FALSE(test::ReadBytes(b + "/BITMAPS/GP3ART5.BIN") == bank);
    EXPECT_TRUE(test::ReadBytes(b + "/BITMAPS/LOADING5.BMP") == test::ReadBytes(a + "/BITMAPS/LOADING5.BMP"));
}

} // namespace
