#include "TransferFixture.h"

#include "base/ByteWriter.h"
#include "formats/SoundBank.h"
#include "sounds/SoundFolder.h"
#include "sounds/SoundsArea.h"
#include "transfer/CarsetArchive.h"
#include "transfer/ReportedFormats.h"

using namespace pitwall;
using test::TransferFixture;

namespace {

constexpr const char* kBank = "SAMPLES/GP3SOUND.DAT";

SoundBank ReadBank(const std::string& file)
{
    SoundBankParse parsed = ParseSoundBank(test::ReadBytes(file));
    EXPECT_FALSE(parsed.truncated);
    return parsed.bank;
}

// The demo's bank: 132 sounds of 8 and 16 bits at several rates, sound 7
// longer than 500,001 bytes.
TEST(SoundsArea, ImportThenExportChangesNoByteAndKeepsLongSoundsWhole)
{
    TransferFixture f;
    const auto before = test::ReadBytes(f.game(kBank));
    ASSERT_EQ(f.importItems({kSoundsItem}), TransferOutcome::Done);
    const SoundTable& table = f.set().sounds;
    ASSERT_EQ(table.entries.size(), 132u);
    EXPECT_EQ(table.entries[7].dataSize, 524'288u);
    EXPECT_EQ(FileSizeOf(f.work("Sound7.DAT")), 44u + 524'288u);
    EXPECT_EQ(test::ReadBytes(f.work("Sound0.DAT")).size(), 44u + table.entries[0].dataSize);

    ASSERT_EQ(f.exportAll(), TransferOutcome::Done);
    EXPECT_TRUE(test::ReadBytes(f.game(kBank)) == before);
    // Nothing but the bank's own name is left beside it.
    EXPECT_EQ(ListFiles(f.game("SAMPLES/"), "*", false, false).size(), 1u);
}

TEST(SoundsArea, AllMarkedSoundsMakeTheOtherBankEqual)
{
    TransferFixture a(1), b(2);
    ASSERT_EQ(a.importItems({kSoundsItem}), TransferOutcome::Done);
    a.set().sounds.marks.assign(a.set().sounds.entries.size(), 1);
    const std::string carset = a.root / "all.GMS";
    ASSERT_EQ(a.saveCarset(carset), TransferOutcome::Done);
    {
        CarsetArchive archive(carset, CarsetArchive::Mode::Read);
        EXPECT_EQ(archive.read(kSoundsMember, 5000).size(), 4098u);
        EXPECT_TRUE(archive.contains("Sound131.DAT"));
    }
    ASSERT_FALSE(test::ReadBytes(a.game(kBank)) == test::ReadBytes(b.game(kBank)));
    ASSERT_EQ(b.loadCarset(carset), TransferOutcome::Done);
    ASSERT_EQ(b.exportAll(), TransferOutcome::Done);
    EXPECT_TRUE(test::ReadBytes(b.game(kBank)) == test::ReadBytes(a.game(kBank)));
}

TEST(SoundsArea, OneMarkedSoundChangesThatSoundAlone)
{
    TransferFixture a(1), b(2);
    ASSERT_EQ(a.importItems({kSoundsItem}), TransferOutcome::Done);
    a.set().sounds.marks.assign(a.set().sounds.entries.size(), 0);
    a.set().sounds.marks[3] = 1;
    const std::string carset = a.root / "one.GMS";
    ASSERT_EQ(a.saveCarset(carset), TransferOutcome::Done);
    {
        CarsetArchive archive(carset, CarsetArchive::Mode::Read);
        EXPECT_TRUE(archive.contains("Sound3.DAT"));
        EXPECT_FALSE(archive.contains("Sound2.DAT"));
    }

    const SoundBank bankA = ReadBank(a.game(kBank));
    const SoundBank bankB = ReadBank(b.game(kBank));
    // B never imported its sounds: the ones the carset lacks come from B's bank.
    ASSERT_EQ(b.loadCarset(carset), TransferOutcome::Done);
    ASSERT_EQ(b.exportAll(), TransferOutcome::Done);
    const auto bytes = test::ReadBytes(b.game(kBank));
    const SoundBank after = ReadBank(b.game(kBank));
    ASSERT_EQ(after.entries.size(), bankB.entries.size());
    // The third field gives each sound's position in B's new bank, as it
    // did in B's bank before.
    std::uint32_t position = 0;
    for (std::size_t i = 0; i < after.entries.size(); ++i) {
        const SoundBank& expected = i == 3 ? bankA : bankB;
        SoundEntry entry = expected.entries[i];
        entry.keptWord = position;
        EXPECT_EQ(after.entries[i], entry) << i;
        EXPECT_TRUE(after.samples[i] == expected.samples[i]) << i;
        position += entry.dataSize;
    }
    // Directory entry 3 at 4 + 12 x 3: A's size, rate and bits.
    const auto a3 = test::ReadBytes(a.game(kBank));
    EXPECT_TRUE(std::equal(bytes.begin() + 40, bytes.begin() + 46, a3.begin() + 40));
    EXPECT_TRUE(std::equal(bytes.begin() + 50, bytes.begin() + 52, a3.begin() + 50));
}

// A sound the user marked before loading a carset without it stays marked:
// the next carset carries it beside the loaded one.
TEST(SoundsArea, MarksOfHeldSoundsOutliveACarsetWithoutThem)
{
    TransferFixture a(1), b(2);
    ASSERT_EQ(a.importItems({kSoundsItem}), TransferOutcome::Done);
    a.set().sounds.marks.assign(a.set().sounds.entries.size(), 0);
    a.set().sounds.marks[3] = 1;
    const std::string carset = a.root / "one.GMS";
    ASSERT_EQ(a.saveCarset(carset), TransferOutcome::Done);

    ASSERT_EQ(b.importItems({kSoundsItem}), TransferOutcome::Done);
    b.set().sounds.marks.assign(b.set().sounds.entries.size(), 0);
    b.set().sounds.marks[5] = 1;
    ASSERT_EQ(b.loadCarset(carset), TransferOutcome::Done);
    const std::string next = b.root / "next.GMS";
    ASSERT_EQ(b.saveCarset(next), TransferOutcome::Done);
    CarsetArchive archive(next, CarsetArchive::Mode::Read);
    EXPECT_TRUE(archive.contains("Sound3.DAT"));
    EXPECT_TRUE(archive.contains("Sound5.DAT"));
    EXPECT_FALSE(archive.contains("Sound2.DAT"));
}

// A disk that fills while a carset's sounds are written: each working
// sound keeps the record of the samples it holds, so an export does not
// join one sound's samples with another's sizes.
TEST(SoundsArea, AFullDiskDuringALoadLeavesEachSoundWithItsOwnRecord)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimit;
#else
    TransferFixture a(1), b(2);
    ASSERT_EQ(a.importItems({kSoundsItem}), TransferOutcome::Done);
    a.set().sounds.marks.assign(a.set().sounds.entries.size(), 1);
    const std::string carset = a.root / "all.GMS";
    ASSERT_EQ(a.saveCarset(carset), TransferOutcome::Done);
    ASSERT_EQ(b.importItems({kSoundsItem}), TransferOutcome::Done);
    {
        test::FileSizeLimit full(30'000);
        EXPECT_NE(b.loadCarset(carset), TransferOutcome::Done);
    }
    int fromCarset = 0;
    const SoundTable& held = b.set().sounds;
    for (std::size_t i = 0; i < held.entries.size(); ++i) {
        // The one that did not fit is gone: export takes the game's own.
        if (!FileExists(b.work(SoundWorkFileName(i))))
            continue;
        const auto wav = CheckSoundWav(test::ReadBytes(b.work(SoundWorkFileName(i))));
        ASSERT_TRUE(wav) << i;
        EXPECT_EQ(wav->samples.size(), held.entries[i].dataSize) << i;
        EXPECT_EQ(static_cast<std::uint16_t>(wav->sampleRate), held.entries[i].sampleRate) << i;
        fromCarset += held.entries[i] == a.set().sounds.entries[i] ? 1 : 0;
    }
    EXPECT_GT(fromCarset, 0);
#endif
}

// The demo banks, like the game's, give each sound's position in the third
// field: after a sound of another size is taken in, the exported bank gives
// the new positions, those of the sounds after it too.
TEST(SoundsArea, TheThirdFieldFollowsTheNewLayoutWhereItHeldThePositions)
{
    TransferFixture f;
    ASSERT_EQ(f.importItems({kSoundsItem}), TransferOutcome::Done);
    const SoundBank before = ReadBank(f.game(kBank));
    ASSERT_EQ(KeptWordLayoutOf(before), KeptWordLayout::DataPosition);
    const std::vector<std::uint8_t> samples(before.entries[3].dataSize + 1001, 0x80);
    const SoundEntry longer{static_cast<std::uint32_t>(samples.size()), 22050, 0, 8};
    test::WriteBytes(f.root / "longer.wav", MakeSoundWav(longer, samples));
    ASSERT_TRUE(TakeInSoundWav(f.set().sounds, 3, f.root / "longer.wav", f.program.directories.working, nullptr));
    ASSERT_EQ(f.exportAll(), TransferOutcome::Done);

    const SoundBank after = ReadBank(f.game(kBank));
    EXPECT_EQ(after.entries[3].dataSize, samples.size());
    EXPECT_EQ(after.entries[3].keptWord, before.entries[3].keptWord);
    EXPECT_EQ(after.entries[4].keptWord, before.entries[4].keptWord + 1001);
    EXPECT_EQ(after.entries.back().keptWord, before.entries.back().keptWord + 1001);
    EXPECT_EQ(KeptWordLayoutOf(after), KeptWordLayout::DataPosition);
}

TEST(SoundsArea, DamagedOrMissingBankLeavesTheWorkingSetAlone)
{
    TransferFixture f;
    auto bank = test::ReadBytes(f.game(kBank));
    bank.resize(bank.size() / 2);
    test::WriteBytes(f.game(kBank), bank);
    EXPECT_EQ(f.importItems({kSoundsItem}), TransferOutcome::DoneWithErrors);
    EXPECT_FALSE(f.set().transfer.isLoaded(kSoundsItem));
    EXPECT_FALSE(FileExists(f.work("Sound0.DAT")));
    EXPECT_EQ(f.messages.numbers(), std::vector<int>{668});

    DeleteFileForced(f.game(kBank));
    f.messages.shown.clear();
    EXPECT_EQ(f.importItems({kSoundsItem}), TransferOutcome::DoneWithErrors);
    EXPECT_EQ(f.messages.numbers(), std::vector<int>{349});
}

// WAV files as another program writes them: a LIST chunk before the samples.
std::vector<std::uint8_t> WavWithList(const std::vector<std::uint8_t>& samples, bool withData = true)
{
    ByteWriter w;
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i)
            w.u8(static_cast<std::uint8_t>(t[i]));
    };
    tag("RIFF");
    w.u32(12036);
    tag("WAVE");
    tag("fmt ");
    w.u32(16);
    w.u16(1);
    w.u16(1);
    w.u32(22050);
    w.u32(22050);
    w.u16(1);
    w.u16(8);
    tag("LIST");
    w.u32(5);
    for (int i = 0; i < 6; ++i) // five bytes and the pad byte
        w.u8(0xEE);
    if (withData) {
        tag("data");
        w.u32(static_cast<std::uint32_t>(samples.size()));
        for (auto b : samples)
            w.u8(b);
    }
    return w.take();
}

TEST(SoundFiles, TakingInWalksTheChunksAndRefusesFilesWithoutSamples)
{
    test::TempDir dir;
    SoundTable table;
    table.entries = {{10, 11025, 0xABCD, 16}, {4, 8000, 9, 8}};
    table.marks = {0, 0};
    const std::vector<std::uint8_t> samples = {1, 2, 3, 4, 5, 6, 7};
    test::WriteBytes(dir / "list.wav", WavWithList(samples));
    ASSERT_TRUE(TakeInSoundWav(table, 0, dir / "list.wav", dir / "work", nullptr));
    EXPECT_EQ(table.entries[0], (SoundEntry{7, 22050, 0xABCD, 8}));
    EXPECT_EQ(table.marks[0], 1);
    auto work = test::ReadBytes(dir / "work/Sound0.DAT");
    ASSERT_EQ(work.size(), 51u);
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), work.begin() + 44));

    test::WriteBytes(dir / "nodata.wav", WavWithList(samples, false));
    UITexts texts;
    test::RecordingMessages sink;
    Messenger messenger(texts, sink);
    EXPECT_FALSE(TakeInSoundWav(table, 1, dir / "nodata.wav", dir / "work", &messenger));
    // The last chunk odd-sized without its pad byte, as truncated files end.
    auto unpadded = WavWithList(samples, false);
    unpadded.pop_back();
    test::WriteBytes(dir / "unpadded.wav", unpadded);
    EXPECT_FALSE(TakeInSoundWav(table, 1, dir / "unpadded.wav", dir / "work", &messenger));
    EXPECT_EQ(sink.numbers(), (std::vector<int>{kNotASoundText, kNotASoundText}));
    EXPECT_EQ(table.entries[1], (SoundEntry{4, 8000, 9, 8}));
    EXPECT_EQ(table.marks[1], 0);
}

TEST(SoundFiles, HeadersTheBankCannotHoldAreRefused)
{
    const auto good = MakeSoundWav({4, 22050, 0, 16}, std::vector<std::uint8_t>{1, 2, 3, 4});
    auto patched = [&](std::size_t at, std::uint32_t value, int width) {
        auto wav = good;
        for (int i = 0; i < width; ++i)
            wav[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
        return wav;
    };
    ASSERT_TRUE(CheckSoundWav(good));
    EXPECT_TRUE(CheckSoundWav(patched(34, 8, 2)));
    // A data chunk claiming more than the file holds gives what it holds, as
    // the files of tools that copy at most 500,001 bytes of a sound do.
    EXPECT_EQ(CheckSoundWav(patched(40, 600'000, 4))->samples.size(), 4u);
    for (const auto& [wav, reason] :
         std::vector<std::pair<std::vector<std::uint8_t>, const char*>>{{patched(24, 0xFFFFFFFF, 4), "sample rate"},
                                                                        {patched(24, 0, 4), "sample rate"},
                                                                        {patched(16, 0xFFFFFFF0, 4), "chunk"},
                                                                        {patched(22, 9, 2), "channels"},
                                                                        {patched(22, 2, 2), "channels"},
                                                                        {patched(34, 0, 2), "bits"},
                                                                        {patched(34, 12, 2), "bits"},
                                                                        {patched(4, 36, 4), "header"}}) {
        std::string problem;
        EXPECT_FALSE(CheckSoundWav(wav, &problem)) << reason;
        EXPECT_NE(problem.find(reason), std::string::npos) << problem;
        // Taken in as a sound, such a file is decoded: it is refused, or
        // it becomes a sound the bank can hold.
        test::TempDir dir;
        SoundTable table;
        table.entries = {{10, 11025, 0xABCD, 16}};
        test::WriteBytes(dir / "in.wav", wav);
        if (TakeInSoundWav(table, 0, dir / "in.wav", dir / "work", nullptr)) {
            EXPECT_EQ(table.entries[0].sampleRate, 11025) << reason;
            EXPECT_TRUE(table.entries[0].bits == 8 || table.entries[0].bits == 16) << reason;
            EXPECT_TRUE(CheckSoundWav(test::ReadBytes(dir / "work/Sound0.DAT"))) << reason;
        } else {
            EXPECT_EQ(table.entries[0], (SoundEntry{10, 11025, 0xABCD, 16})) << reason;
        }
    }
}

TEST(SoundFiles, ExtractAllThenReplaceAllRoundTripsWhateverTheCase)
{
    TransferFixture f;
    ASSERT_EQ(f.importItems({kSoundsItem}), TransferOutcome::Done);
    SoundTable& table = f.set().sounds;
    const std::string folder = f.root / "wavs/";
    ForceDirectories(folder);
    EXPECT_TRUE(ExtractAllSounds(table, f.program.directories.working, folder).empty());
    EXPECT_TRUE(FileExists(folder + "Sound0.WAV"));
    EXPECT_TRUE(FileExists(folder + "Sound131.WAV"));

    const SoundTable before = table;
    auto replaced = ReplaceAllSounds(table, folder, f.program.directories.working, nullptr);
    EXPECT_EQ(replaced.size(), 132u);
    EXPECT_EQ(table.entries, before.entries);

    // A folder holding only SOUND3.WAV (as Windows names it) and a
    // lower-case sound5.wav changes those two alone.
    const std::string other = f.root / "other/";
    ForceDirectories(other);
    test::WriteBytes(other + "SOUND3.WAV", MakeSoundWav({3, 44100, 0, 8}, std::vector<std::uint8_t>{9, 9, 9}));
    test::WriteBytes(other + "sound5.wav", test::ReadBytes(folder + "Sound5.WAV"));
    table.marks.assign(table.entries.size(), 0);
    replaced = ReplaceAllSounds(table, other, f.program.directories.working, nullptr);
    EXPECT_EQ(replaced, (std::vector<std::size_t>{3, 5}));
    for (std::size_t i = 0; i < table.entries.size(); ++i) {
        if (i == 3)
            EXPECT_EQ(table.entries[i], (SoundEntry{3, 44100, before.entries[3].keptWord, 8}));
        else
            EXPECT_EQ(table.entries[i], before.entries[i]) << i;
        EXPECT_EQ(table.marks[i], i == 3 || i == 5 ? 1 : 0) << i;
    }
}

} // namespace
