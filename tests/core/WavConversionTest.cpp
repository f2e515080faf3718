#include "TestSupport.h"
#include "TestWavs.h"

#include "base/FileUtils.h"
#include "base/FormatError.h"
#include "base/Messages.h"
#include "base/UITexts.h"
#include "formats/SoundBankFiles.h"
#include "formats/WavConversion.h"
#include "sounds/SoundFolder.h"
#include "transfer/ReportedFormats.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace pitwall;

namespace {

// A bank of two sounds: 22050 Hz 16-bit and 11025 Hz 8-bit.
struct Bank {
    test::TempDir dir;
    SoundTable table;
    std::string work = dir / "work/";

    Bank()
    {
        table.entries = {{0, 22050, 7, 16}, {0, 11025, 8, 8}};
        table.marks = {0, 0};
        const std::vector<std::uint8_t> samples(20, 0x80);
        ForceDirectories(work);
        for (std::size_t i = 0; i < 2; ++i) {
            table.entries[i].dataSize = static_cast<std::uint32_t>(samples.size());
            WriteWholeFile(work + SoundWorkFileName(i), MakeSoundWav(table.entries[i], samples));
        }
    }
};

// The samples of a working file as values from -1 to 1.
std::vector<double> Values(const std::vector<std::uint8_t>& wav, int bits)
{
    std::vector<double> values;
    const auto samples = std::span(wav).subspan(kWavHeaderSize);
    if (bits == 8)
        for (std::uint8_t b : samples)
            values.push_back((b - 128) / 128.0);
    else
        for (std::size_t i = 0; i + 1 < samples.size(); i += 2)
            values.push_back(static_cast<std::int16_t>(samples[i] | (samples[i + 1] << 8)) / 32768.0);
    return values;
}

double Correlation(const std::vector<double>& a, const std::vector<double>& b)
{
    double ma = 0, mb = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        ma += a[i];
        mb += b[i];
    }
    ma /= static_cast<double>(a.size());
    mb /= static_cast<double>(b.size());
    double ab = 0, aa = 0, bb = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        ab += (a[i] - ma) * (b[i] - mb);
        aa += (a[i] - ma) * (a[i] - ma);
        bb += (b[i] - mb) * (b[i] - mb);
    }
    return ab / std::sqrt(aa * bb);
}

// A WAV of libsndfile's with a LIST chunk put before its samples, as editors
// that store a title or a software name write them.
std::vector<std::uint8_t> WithListChunk(std::vector<std::uint8_t> wav)
{
    std::size_t at = 12;
    while (at + 8 <= wav.size() && std::string(wav.begin() + static_cast<long>(at), wav.begin() + static_cast<long>(at) + 4) != "data")
        at += 8 + (wav[at + 4] | wav[at + 5] << 8 | wav[at + 6] << 16 | static_cast<std::size_t>(wav[at + 7]) << 24);
    const std::vector<std::uint8_t> list = {'L', 'I', 'S', 'T', 14, 0, 0, 0, 'I', 'N', 'F', 'O',
                                            'I', 'S', 'F', 'T', 1, 0, 0, 0, 'x', 0};
    wav.insert(wav.begin() + static_cast<long>(at), list.begin(), list.end());
    const auto riff = static_cast<std::uint32_t>(wav.size() - 8);
    for (int i = 0; i < 4; ++i)
        wav[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(riff >> (8 * i));
    return wav;
}

} // namespace

// Every kind of WAV a common tool writes replaces a sound: what is extracted
// back is a game-format WAV as long as the file (within one sample of the
// bank's rate) holding the same sine, at a rate and bit depth the bank uses.
TEST(WavConversion, WavsOfEveryKindBecomeSoundsOfTheBank)
{
    struct Case {
        const char* name;
        test::SineWav wav;
        bool withList;
        SoundShape from;
        SoundShape to;
    };
    const std::vector<Case> cases = {
        {"22050 Hz 16-bit mono", {22050, SF_FORMAT_PCM_16, {0.5}, 11025}, false, {22050, 16, 1, false}, {22050, 16, 1, false}},
        {"11025 Hz 8-bit mono", {11025, SF_FORMAT_PCM_U8, {0.5}, 5000}, false, {11025, 8, 1, false}, {11025, 8, 1, false}},
        {"44.1 kHz 16-bit stereo", {44100, SF_FORMAT_PCM_16, {0.6, 0.2}, 22050}, false, {44100, 16, 2, false}, {11025, 16, 1, false}},
        {"22050 Hz 24-bit mono", {22050, SF_FORMAT_PCM_24, {0.5}, 7001}, false, {22050, 24, 1, false}, {22050, 8, 1, false}},
        {"48 kHz float stereo", {48000, SF_FORMAT_FLOAT, {0.3, 0.5}, 24001}, false, {48000, 32, 2, true}, {11025, 8, 1, false}},
        {"44.1 kHz 32-bit with a LIST chunk", {44100, SF_FORMAT_PCM_32, {0.5}, 9999}, true, {44100, 32, 1, false}, {11025, 8, 1, false}},
        {"44.1 kHz 16-bit mono with a LIST chunk", {44100, SF_FORMAT_PCM_16, {0.5}, 9999}, true, {44100, 16, 1, false}, {11025, 16, 1, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bank bank;
        const std::string file = bank.dir / "in.wav";
        test::WriteSineWav(file, c.wav);
        if (c.withList)
            test::WriteBytes(file, WithListChunk(test::ReadBytes(file)));
        auto taken = TakeInSoundFile(bank.table, 1, file, bank.work);
        ASSERT_TRUE(taken);
        EXPECT_EQ(taken->from, c.from);
        EXPECT_EQ(taken->to, c.to);
        EXPECT_EQ(taken->converted(), !(c.from == c.to));
        EXPECT_EQ(bank.table.marks[1], 1);
        const SoundEntry& e = bank.table.entries[1];
        EXPECT_EQ(e.sampleRate, c.to.sampleRate);
        EXPECT_EQ(e.bits, c.to.bits);
        EXPECT_EQ(e.keptWord, 8u);

        const auto wav = test::ReadBytes(bank.work + SoundWorkFileName(1));
        const auto header = ReadWavHeader(wav);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->riffSize, kGameWavRiffSize);
        EXPECT_EQ(header->channels, 1);
        EXPECT_EQ(header->sampleRate, c.to.sampleRate);
        EXPECT_EQ(header->bits, c.to.bits);
        EXPECT_EQ(header->dataSize, e.dataSize);
        EXPECT_EQ(wav.size(), kWavHeaderSize + e.dataSize);

        const auto got = Values(wav, c.to.bits);
        const double rate = c.to.sampleRate;
        EXPECT_NEAR(static_cast<double>(got.size()) / rate, static_cast<double>(c.wav.frames) / c.wav.rate, 1 / rate);
        std::vector<double> expected;
        for (std::size_t n = 0; n < got.size(); ++n)
            expected.push_back(c.wav.mono(static_cast<double>(n) / rate));
        EXPECT_GT(Correlation(got, expected), 0.99);
    }
}

// The program's own extracted sound, saved again by a standard writer (the
// RIFF size and block align as they should be), comes back sample for sample.
TEST(WavConversion, TheProgramsOwnSoundRewrittenComesBackUnchanged)
{
    Bank bank;
    test::WriteSineWav(bank.dir / "sine.wav", {22050, SF_FORMAT_PCM_16, {0.5}, 3000});
    ASSERT_TRUE(TakeInSoundFile(bank.table, 0, bank.dir / "sine.wav", bank.work));
    const auto own = test::ReadBytes(bank.work + SoundWorkFileName(0));
    test::RewriteSamples(bank.dir / "again.wav", 22050, 16, std::vector<std::uint8_t>(own.begin() + 44, own.end()));
    ASSERT_NE(test::ReadBytes(bank.dir / "again.wav"), own);

    auto taken = TakeInSoundFile(bank.table, 1, bank.dir / "again.wav", bank.work);
    ASSERT_TRUE(taken);
    EXPECT_FALSE(taken->converted());
    EXPECT_EQ(bank.table.entries[1], (SoundEntry{bank.table.entries[0].dataSize, 22050, 8, 16}));
    EXPECT_EQ(test::ReadBytes(bank.work + SoundWorkFileName(1)), own);
}

// What is not audio, or holds no samples, is refused naming the file; the
// table, the marks and the working files stay as they were.
TEST(WavConversion, NonAudioAndEmptyFilesAreRefusedNamingTheFile)
{
    Bank bank;
    test::WriteText(bank.dir / "notes.wav", "These are my notes, not a sound.\n");
    test::WriteSineWav(bank.dir / "empty.wav", {22050, SF_FORMAT_PCM_16, {0.5}, 0});
    test::WriteBytes(bank.dir / "cut.wav", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'});
    const SoundTable before = bank.table;
    const auto work = test::ReadBytes(bank.work + SoundWorkFileName(1));
    for (const auto& [name, text] : std::vector<std::pair<std::string, int>>{
             {"notes.wav", kNotASoundText}, {"empty.wav", kEmptySoundText}, {"cut.wav", kNotASoundText}}) {
        const std::string file = bank.dir / name;
        try {
            TakeInSoundFile(bank.table, 1, file, bank.work);
            ADD_FAILURE() << name << " was taken";
        } catch (const FormatError& e) {
            EXPECT_EQ(e.number(), text) << name;
            ASSERT_FALSE(e.args().empty());
            EXPECT_EQ(std::get<std::string>(e.args().front()), file);
        }
        EXPECT_EQ(bank.table.entries, before.entries) << name;
        EXPECT_EQ(bank.table.marks, before.marks) << name;
        EXPECT_EQ(test::ReadBytes(bank.work + SoundWorkFileName(1)), work) << name;
    }
    // The English text says which file and why.
    UITexts texts;
    std::vector<std::string> lines(UITexts::kHighestNumber + 1, "");
    lines[kNotASoundText] = "%s is not a sound file and is not taken (%s).";
    texts.assign(lines, "");
    test::RecordingMessages sink;
    Messenger messenger(texts, sink);
    EXPECT_FALSE(TakeInSoundFile(bank.table, 1, bank.dir / "notes.wav", bank.work, &messenger));
    ASSERT_EQ(sink.numbers(), (std::vector<int>{kNotASoundText}));
    EXPECT_NE(sink.shown[0].text.find(bank.dir / "notes.wav"), std::string::npos) << sink.shown[0].text;
}

// Replace all takes what it can, converts what needs it and names each file
// it skipped.
TEST(WavConversion, ReplaceAllConvertsAndSkipsFilesThatAreNoSound)
{
    Bank bank;
    const std::string folder = bank.dir / "wavs/";
    ForceDirectories(folder);
    test::WriteSineWav(folder + "SOUND0.WAV", {44100, SF_FORMAT_PCM_16, {0.5, 0.5}, 4410});
    test::WriteText(folder + "sound1.wav", "no sound");
    UITexts texts;
    test::RecordingMessages sink;
    Messenger messenger(texts, sink);
    std::vector<ConvertedSound> converted;
    auto replaced = ReplaceAllSounds(bank.table, folder, bank.work, &messenger, &converted);
    EXPECT_EQ(replaced, (std::vector<std::size_t>{0}));
    ASSERT_EQ(converted.size(), 1u);
    EXPECT_EQ(converted[0].file, folder + "SOUND0.WAV");
    EXPECT_EQ(converted[0].conversion.from, (SoundShape{44100, 16, 2, false}));
    EXPECT_EQ(converted[0].conversion.to, (SoundShape{22050, 16, 1, false}));
    EXPECT_EQ(sink.numbers(), (std::vector<int>{kNotASoundText}));
    EXPECT_EQ(bank.table.entries[0].dataSize, 2205u * 2);
    EXPECT_EQ(bank.table.marks, (std::vector<std::uint8_t>{1, 0}));
}
