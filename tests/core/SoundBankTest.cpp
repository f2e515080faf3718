#include "TestSupport.h"

#include "base/ByteWriter.h"
#include "base/FileUtils.h"
#include "base/Messages.h"
#include "base/UITexts.h"
#include "formats/SoundBankFiles.h"
#include "transfer/ReportedFormats.h"

#include <gtest/gtest.h>

using namespace pitwall;

namespace {

struct Messages {
    UITexts texts;
    test::RecordingMessages sink;
    Messenger messenger{texts, sink};
};

std::vector<std::uint8_t> Bank(const std::vector<SoundEntry>& entries, std::size_t dataBytes)
{
    ByteWriter w;
    w.u16(static_cast<std::uint16_t>(entries.size()));
    w.u16(0x5555); // ignored on reading, 0 on writing
    for (const SoundEntry& e : entries) {
        w.u32(e.dataSize);
        w.u16(e.sampleRate);
        w.u32(e.keptWord);
        w.u16(e.bits);
    }
    for (std::size_t i = 0; i < dataBytes; ++i)
        w.u8(static_cast<std::uint8_t>(i * 7));
    return w.take();
}

} // namespace

// The third field: kept as the positions of the sounds where the bank as
// read holds them (counted from the sample data or from the file's start),
// else written back as it was.
TEST(SoundBank, TheThirdFieldKeepsGivingThePositionsOrStaysAsItWas)
{
    SoundBank bank;
    bank.samples = {std::vector<std::uint8_t>(10, 1), std::vector<std::uint8_t>(20, 2),
                    std::vector<std::uint8_t>(5, 3)};
    const std::vector<std::uint32_t> sizes = {10, 20, 5};
    auto withWords = [&](std::vector<std::uint32_t> words) {
        SoundBank b = bank;
        for (std::size_t i = 0; i < 3; ++i)
            b.entries.push_back({sizes[i], 11025, words[i], 8});
        return b;
    };
    auto wordsAfterGrowingTheFirst = [](SoundBank b) {
        const KeptWordLayout layout = KeptWordLayoutOf(b);
        b.samples[0].resize(14, 1);
        b.entries[0].dataSize = 14;
        const SoundBankParse rebuilt = ParseSoundBank(BuildSoundBank(b, layout));
        std::vector<std::uint32_t> words;
        for (const SoundEntry& e : rebuilt.bank.entries)
            words.push_back(e.keptWord);
        return words;
    };
    EXPECT_EQ(KeptWordLayoutOf(withWords({0, 10, 30})), KeptWordLayout::DataPosition);
    EXPECT_EQ(wordsAfterGrowingTheFirst(withWords({0, 10, 30})), (std::vector<std::uint32_t>{0, 14, 34}));
    EXPECT_EQ(KeptWordLayoutOf(withWords({40, 50, 70})), KeptWordLayout::FilePosition);
    EXPECT_EQ(wordsAfterGrowingTheFirst(withWords({40, 50, 70})), (std::vector<std::uint32_t>{40, 54, 74}));
    EXPECT_EQ(KeptWordLayoutOf(withWords({0, 10, 31})), KeptWordLayout::AsTheyWere);
    EXPECT_EQ(wordsAfterGrowingTheFirst(withWords({0, 10, 31})), (std::vector<std::uint32_t>{0, 10, 31}));
    EXPECT_EQ(KeptWordLayoutOf(SoundBank{}), KeptWordLayout::AsTheyWere);
}

TEST(SoundBank, SplitsIntoWavFilesAndJoinsBack)
{
    test::TempDir dir;
    Messages m;
    const std::vector<SoundEntry> entries = {{10, 22050, 0xDEADBEEF, 8}, {20, 11025, 77, 16}};
    auto original = Bank(entries, 30);
    test::WriteBytes(dir / "GP3SOUND.DAT", original);

    SoundTable table;
    ASSERT_TRUE(SplitSoundBankFile(dir / "GP3SOUND.DAT", dir / "work", table, &m.messenger));
    EXPECT_EQ(table.entries, entries);
    auto wav0 = test::ReadBytes(dir / "work/Sound0.DAT");
    EXPECT_EQ(wav0.size(), 54u);
    EXPECT_EQ(test::ReadBytes(dir / "work/Sound1.DAT").size(), 64u);
    auto header = ReadWavHeader(wav0);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->riffSize, 12036u);
    EXPECT_EQ(header->sampleRate, 22050u);
    EXPECT_EQ(header->byteRate, 22050u);
    EXPECT_EQ(header->channels, 1);
    EXPECT_EQ(header->dataSize, 10u);

    std::vector<std::uint8_t> joined;
    ASSERT_TRUE(JoinSoundBank(table, dir / "work", joined, &m.messenger));
    EXPECT_EQ(joined.size(), 4u + 24 + 30);
    auto expected = original;
    expected[2] = expected[3] = 0;
    EXPECT_EQ(joined, expected);
    EXPECT_TRUE(m.sink.shown.empty());

    DeleteFileForced(dir / "work/Sound1.DAT");
    EXPECT_FALSE(JoinSoundBank(table, dir / "work", joined, &m.messenger));
    EXPECT_EQ(m.sink.numbers(), (std::vector<int>{349}));
}

TEST(SoundBank, TakesInTheProgramsOwnAndOrdinaryWavFiles)
{
    test::TempDir dir;
    Messages m;
    test::WriteBytes(dir / "GP3SOUND.DAT", Bank({{10, 22050, 1234, 8}, {4, 8000, 99, 8}}, 14));
    SoundTable table;
    ASSERT_TRUE(SplitSoundBankFile(dir / "GP3SOUND.DAT", dir / "work", table, &m.messenger));

    // A sound written by the program comes back unchanged.
    auto own = test::ReadBytes(dir / "work/Sound0.DAT");
    ASSERT_TRUE(TakeInSoundWav(table, 0, dir / "work/Sound0.DAT", dir / "work", &m.messenger));
    EXPECT_EQ(table.entries[0], (SoundEntry{10, 22050, 1234, 8}));
    EXPECT_EQ(table.marks[0], 1);
    EXPECT_EQ(test::ReadBytes(dir / "work/Sound0.DAT"), own);

    // A new, longer sound: the third field stays, the rest follows the header.
    SoundEntry longer{40, 44100, 0, 16};
    std::vector<std::uint8_t> samples(40, 9);
    test::WriteBytes(dir / "new.wav", MakeSoundWav(longer, samples));
    ASSERT_TRUE(TakeInSoundWav(table, 1, dir / "new.wav", dir / "work", &m.messenger));
    EXPECT_EQ(table.entries[1], (SoundEntry{40, 44100, 99, 16}));
    std::vector<std::uint8_t> joined;
    ASSERT_TRUE(JoinSoundBank(table, dir / "work", joined, &m.messenger));
    SoundBankParse back = ParseSoundBank(joined);
    EXPECT_FALSE(back.truncated);
    EXPECT_EQ(back.bank.samples[1], samples);
    EXPECT_EQ(back.bank.entries[1].keptWord, 99u);

    // An ordinary WAV (RIFF size 36 + data) in a shape the bank uses is
    // taken as it is.
    auto foreign = MakeSoundWav(longer, samples);
    foreign[4] = 36 + 40;
    foreign[5] = 0;
    test::WriteBytes(dir / "foreign.wav", foreign);
    ASSERT_TRUE(TakeInSoundWav(table, 0, dir / "foreign.wav", dir / "work", &m.messenger));
    EXPECT_EQ(table.entries[0], (SoundEntry{40, 44100, 1234, 16}));
    EXPECT_EQ(WavSamples(test::ReadBytes(dir / "work/Sound0.DAT"), 40).size(), 40u);
    EXPECT_TRUE(m.sink.shown.empty());
}

TEST(SoundBank, RefusesMoreSoundsThanTheTableHolds)
{
    test::TempDir dir;
    Messages m;
    std::vector<SoundEntry> many(257, SoundEntry{1, 8000, 0, 8});
    test::WriteBytes(dir / "GP3SOUND.DAT", Bank(many, 257));
    SoundTable table;
    table.entries = {SoundEntry{5, 5, 5, 8}};
    EXPECT_FALSE(SplitSoundBankFile(dir / "GP3SOUND.DAT", dir / "work", table, &m.messenger));
    EXPECT_EQ(table.entries.size(), 1u);
    EXPECT_EQ(m.sink.numbers(), (std::vector<int>{kTooManySoundsText}));
    EXPECT_FALSE(FileExists(dir / "work/Sound0.DAT"));
    EXPECT_FALSE(SplitSoundBankFile(dir / "none.DAT", dir / "work", table, &m.messenger));
}

TEST(SoundBank, LargeSoundsAreCopiedWhole)
{
    SoundBank bank;
    bank.entries = {{600'000, 44100, 0, 16}, {3, 8000, 0, 8}};
    bank.samples = {std::vector<std::uint8_t>(600'000, 1), {7, 8, 9}};
    auto bytes = BuildSoundBank(bank);
    EXPECT_EQ(bytes.size(), 4u + 24 + 600'003);
    SoundBankParse back = ParseSoundBank(bytes);
    EXPECT_EQ(back.bank.samples, bank.samples);
}

TEST(SoundBank, TruncatedBanksGiveWhatWasRead)
{
    auto bytes = Bank({{10, 1, 0, 8}, {10, 1, 0, 8}}, 15);
    SoundBankParse p = ParseSoundBank(bytes);
    EXPECT_TRUE(p.truncated);
    EXPECT_EQ(p.bank.samples[0].size(), 10u);
    EXPECT_EQ(p.bank.samples[1].size(), 5u);
    EXPECT_EQ(p.bank.entries[1].dataSize, 5u);
    EXPECT_EQ(p.completeCount, 1u);
    // Joined again, the directory gives what the bank holds.
    EXPECT_EQ(BuildSoundBank(p.bank).size(), 4u + 24 + 15);
    // Even when a table promises gigabytes.
    p.bank.entries[0].dataSize = 0xFFFFFFFF;
    EXPECT_EQ(ParseSoundBank(BuildSoundBank(p.bank)).bank.entries[0].dataSize, 10u);

    bytes.resize(4 + 12 + 5);
    p = ParseSoundBank(bytes);
    EXPECT_TRUE(p.truncated);
    EXPECT_EQ(p.bank.entries.size(), 1u);
    EXPECT_TRUE(ParseSoundBank(std::vector<std::uint8_t>{1}).truncated);
}

TEST(SoundBank, SoundsDatHoldsTheWholeTable)
{
    std::vector<SoundEntry> entries = {{1, 2, 3, 8}, {70000, 44100, 0xFFFFFFFF, 16}};
    auto bytes = BuildSoundsDat(entries);
    EXPECT_EQ(bytes.size(), 4098u);
    EXPECT_EQ(ParseSoundsDat(bytes), entries);
    bytes.resize(2 + 16 + 3);
    EXPECT_EQ(ParseSoundsDat(bytes).size(), 1u);
}
