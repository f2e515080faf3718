#include "TestSupport.h"

#include "base/FileUtils.h"
#include "base/Messages.h"
#include "base/SafeWrite.h"
#include "base/UITexts.h"
#include "formats/ArtBankExpansion.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankGroups.h"
#include "formats/ArtBankPictures.h"
#include "formats/ArtEntryCodec.h"
#include "formats/Bmp.h"
#include "formats/TeamArtSheet.h"
#include "transfer/ReportedFormats.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace pitwall;

namespace {

struct Messages {
    UITexts texts;
    test::RecordingMessages sink;
    Messenger messenger{texts, sink};
};

// A bank of 840 entries of 2 x 1 pixels, except entry 5 (100 x 100, mostly
// key colour, compressed) and entry 7 (10 x 10, expanded).
std::vector<std::uint8_t> SmallBank(std::vector<ArtPicture>& pictures)
{
    pictures.assign(kArtEntryCount, ArtPicture(2, 1, 0x0123));
    pictures[5] = ArtPicture(100, 100, 0x2222);
    for (std::uint32_t y = 0; y < 100; ++y)
        for (std::uint32_t x = 0; x < 90; ++x)
            pictures[5].at(x, y) = kArtKeyWord;
    pictures[7] = ArtPicture(10, 10, 0x0F0F);
    ArtDirectory dir;
    for (std::size_t i = 0; i < kArtHeaderTextSize; ++i)
        dir.headerText[i] = static_cast<std::uint8_t>('A' + i % 26);
    std::vector<std::uint8_t> data;
    std::uint32_t offset = kArtDirectoryEnd + 16; // a gap before the first entry
    for (std::size_t i = 0; i < kArtEntryCount; ++i) {
        auto bytes = EncodeArtEntry(pictures[i], UsesSingleWordKeys(i));
        ArtEntry& e = dir.entries[i];
        e.keptA = static_cast<std::uint32_t>(i);
        e.keptB = 0xABCD0000u + static_cast<std::uint32_t>(i);
        e.width = pictures[i].width;
        e.height = pictures[i].height;
        e.dataOffset = offset;
        e.reservedSize = i == 7 ? 260 : static_cast<std::uint32_t>(bytes.size());
        bytes.resize(e.reservedSize, 0xEE);
        data.insert(data.end(), bytes.begin(), bytes.end());
        offset += e.reservedSize;
    }
    auto file = BuildArtDirectory(dir);
    file.insert(file.end(), 16, 0x77);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

class ArtBankFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        original = SmallBank(pictures);
        bank = dir / "GP3ART5.BIN";
        test::WriteBytes(bank, original);
    }
    test::TempDir dir;
    std::string bank;
    std::vector<ArtPicture> pictures;
    std::vector<std::uint8_t> original;
    Messages m;
};

} // namespace

TEST_F(ArtBankFileTest, ReadsTheDirectoryAndEveryEntry)
{
    ArtDirectory d;
    ASSERT_TRUE(ReadArtDirectory(bank, d, &m.messenger));
    EXPECT_TRUE(d.complete());
    EXPECT_EQ(d.entries[5].width, 100u);
    EXPECT_FALSE(d.entries[5].fits());
    EXPECT_TRUE(d.entries[7].fits());
    for (std::size_t i : {0u, 5u, 7u, 839u}) {
        ArtPicture p;
        ASSERT_TRUE(ReadArtImage(bank, i, p, &m.messenger));
        EXPECT_EQ(p, pictures[i]) << i;
    }
    EXPECT_TRUE(m.sink.shown.empty());
}

TEST_F(ArtBankFileTest, MissingBankAndOversizedEntry)
{
    ArtPicture p;
    EXPECT_FALSE(ReadArtImage(dir / "nothing.BIN", 1, p, &m.messenger));
    auto bytes = original;
    bytes[kArtDirectoryStart + 24 * 3 + 16 + 2] = 0x10; // reserved size of entry 3 beyond 1,000,000
    test::WriteBytes(bank, bytes);
    EXPECT_FALSE(ReadArtImage(bank, 3, p, &m.messenger));
    EXPECT_EQ(m.sink.numbers(), (std::vector<int>{349, 569}));
}

TEST_F(ArtBankFileTest, TruncatedBankGivesWhatItHolds)
{
    auto bytes = original;
    bytes.resize(kArtDirectoryStart + 24 * 100 + 5);
    test::WriteBytes(bank, bytes);
    ArtDirectory d;
    ASSERT_TRUE(ReadArtDirectory(bank, d, &m.messenger));
    EXPECT_EQ(d.entriesRead, 100u);
    ArtPicture p;
    EXPECT_FALSE(ReadArtImage(bank, 5, p, &m.messenger)); // its data lies past the end
    EXPECT_FALSE(ReadArtImage(bank, 500, p, &m.messenger));
    EXPECT_EQ(m.sink.numbers(), (std::vector<int>{kArtEntryPastEndText, kArtBankDamagedText}));
}

TEST_F(ArtBankFileTest, DamagedEntriesAreRefusedNotExportedAsEmptyPictures)
{
    auto bytes = original;
    auto field = [&](std::size_t entry, std::size_t at) { return kArtDirectoryStart + 24 * entry + at; };
    bytes[field(3, 8)] = 0;         // width of entry 3: 0
    bytes[field(4, 20) + 3] = 0x40; // data offset of entry 4: far past the end
    test::WriteBytes(bank, bytes);
    ArtPicture p;
    EXPECT_FALSE(ReadArtImage(bank, 3, p, &m.messenger));
    EXPECT_FALSE(ReadArtImage(bank, 4, p, &m.messenger));
    EXPECT_FALSE(ExportArtImage(bank, 4, dir / "entry4.bmp", &m.messenger));
    EXPECT_FALSE(FileExists(dir / "entry4.bmp"));
    EXPECT_EQ(m.sink.numbers(), (std::vector<int>{kArtEntrySizeText, kArtEntryPastEndText, kArtEntryPastEndText}));
    EXPECT_TRUE(ReadArtImage(bank, 5, p, &m.messenger)); // the others still read
}

TEST_F(ArtBankFileTest, WritesInPlaceKeepingTheTail)
{
    ArtDirectory d;
    ReadArtDirectory(bank, d, &m.messenger);
    ArtPicture small(10, 10, kArtKeyWord); // 10 key runs: 30 of the 260 bytes
    ASSERT_TRUE(WriteArtImage(bank, d.entries[7], 7, small, &m.messenger));
    auto after = test::ReadBytes(bank);
    const std::size_t at = d.entries[7].dataOffset;
    EXPECT_TRUE(std::equal(after.begin() + at + 30, after.begin() + at + 260, original.begin() + at + 30));
    EXPECT_TRUE(std::equal(after.begin(), after.begin() + at, original.begin()));
    ArtPicture back;
    ReadArtImage(bank, 7, back, &m.messenger);
    EXPECT_EQ(back, small);
}

TEST_F(ArtBankFileTest, RefusesPicturesThatDoNotFit)
{
    ArtDirectory d;
    ReadArtDirectory(bank, d, &m.messenger);
    EXPECT_FALSE(WriteArtImage(bank, d.entries[5], 5, ArtPicture(100, 100, 1), &m.messenger));
    // Fits by size, but every other pixel a lone key pixel needs 250 bytes.
    ArtPicture dots(10, 10, 0x0001);
    for (std::uint32_t i = 0; i < 100; i += 2)
        dots.words[i] = kArtKeyWord;
    ArtEntry tight = d.entries[7];
    tight.reservedSize = 210;
    ASSERT_TRUE(tight.fits());
    EXPECT_FALSE(WriteArtImage(bank, tight, 7, dots, &m.messenger));
    // The first needs the expansion; the second is expanded already and is
    // told what really does not fit.
    EXPECT_EQ(m.sink.numbers(), (std::vector<int>{689, kArtPictureTooScatteredText}));
    EXPECT_EQ(test::ReadBytes(bank), original);
}

TEST_F(ArtBankFileTest, ExpandingShiftsLaterEntries)
{
    ArtDirectory before, after;
    ReadArtDirectory(bank, before, &m.messenger);
    std::vector<bool> flags(kArtEntryCount, false);
    flags[5] = true;
    flags[7] = true; // already fits: unchanged
    std::size_t steps = 0;
    ASSERT_TRUE(ExpandArtBank(bank, flags, false, after, &m.messenger,
                              [&](std::size_t done, std::size_t total) { steps += done <= total; }));
    EXPECT_EQ(steps, kArtEntryCount);
    EXPECT_EQ(after.entries[5].reservedSize, 20000u);
    const std::uint32_t shift = 20000 - before.entries[5].reservedSize;
    for (std::size_t i = 0; i < kArtEntryCount; ++i) {
        EXPECT_EQ(after.entries[i].dataOffset, before.entries[i].dataOffset + (i > 5 ? shift : 0)) << i;
        EXPECT_EQ(after.entries[i].keptB, before.entries[i].keptB);
    }
    ArtDirectory onDisk;
    ReadArtDirectory(bank, onDisk, &m.messenger);
    EXPECT_EQ(onDisk.entries, after.entries);
    EXPECT_EQ(onDisk.headerText, before.headerText);
    EXPECT_EQ(ExpandedLayout(before, flags).entries, after.entries);
    for (std::size_t i : {0u, 5u, 6u, 7u, 839u}) {
        ArtPicture p;
        ReadArtImage(bank, i, p, &m.messenger);
        EXPECT_EQ(p, pictures[i]) << i;
    }
    // Entry 7's old tail bytes came along unchanged.
    auto bytes = test::ReadBytes(bank);
    EXPECT_EQ(bytes[after.entries[7].dataOffset + 259], 0xEE);
    EXPECT_FALSE(FileExists(bank + ".OLD"));
    EXPECT_FALSE(FileExists(bank + ".NEW"));
}

TEST_F(ArtBankFileTest, ExpansionKeepsTheBackupWhenAsked)
{
    ArtDirectory after;
    std::vector<bool> flags(kArtEntryCount, true);
    test::WriteBytes(bank + ".OLD", {1, 2, 3});
    ASSERT_TRUE(ExpandArtBank(bank, flags, true, after, &m.messenger));
    EXPECT_EQ(test::ReadBytes(bank + ".OLD"), original);
    for (const ArtEntry& e : after.entries)
        EXPECT_TRUE(e.fits());
}

TEST_F(ArtBankFileTest, AFailedExpansionLeavesTheBankAsItWas)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimit;
#else
    // An entry of an impossible size, met after much of the new file is written.
    auto bytes = original;
    bytes[kArtDirectoryStart + 24 * 600 + 8 + 2] = 0x10;
    test::WriteBytes(bank, bytes);
    ArtDirectory after;
    std::vector<bool> flags(kArtEntryCount, true);
    EXPECT_FALSE(ExpandArtBank(bank, flags, false, after, &m.messenger));
    EXPECT_EQ(test::ReadBytes(bank), bytes);
    EXPECT_FALSE(FileExists(bank + ".NEW"));

    // A directory pointing into itself cannot be laid out again.
    bytes = original;
    bytes[kArtDirectoryStart + 20 + 1] = 0;
    bytes[kArtDirectoryStart + 20 + 2] = 0;
    test::WriteBytes(bank, bytes);
    EXPECT_FALSE(ExpandArtBank(bank, flags, false, after, &m.messenger));
    EXPECT_EQ(test::ReadBytes(bank), bytes);
    EXPECT_EQ(m.sink.numbers(), (std::vector<int>{kArtEntrySizeText, kArtBankDamagedText}));

    // The new file cannot be written whole: the system's reason comes
    // through, the bank stays and no part of the new file is left.
    test::WriteBytes(bank, original);
    try {
        test::FileSizeLimit full(original.size() + 1000);
        ExpandArtBank(bank, flags, false, after, &m.messenger);
        ADD_FAILURE() << "the expansion did not fail";
    } catch (const FileWriteError& e) {
        EXPECT_EQ(e.file(), bank);
        EXPECT_EQ(e.reason(), "File too large");
    }
    EXPECT_EQ(test::ReadBytes(bank), original);
    EXPECT_EQ(ListFiles(dir.path(), "*", false, false), std::vector<std::string>{bank});
#endif
}

TEST_F(ArtBankFileTest, ExpansionWritesNothingThroughAPlantedName)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    // GP3ART5.BIN.NEW and .OLD placed as links to files outside: the
    // expansion writes neither through them, and a directory of the name
    // does not stop it.
    test::TempDir outside;
    const std::string victim = outside / "victim.txt", other = outside / "other.txt";
    test::WriteText(victim, "keep me");
    test::WriteText(other, "keep me too");
    ASSERT_EQ(::symlink(victim.c_str(), (bank + ".NEW").c_str()), 0);
    ASSERT_EQ(::symlink(other.c_str(), (bank + ".OLD").c_str()), 0);
    std::vector<bool> flags(kArtEntryCount, true);
    ArtDirectory after;
    ASSERT_TRUE(ExpandArtBank(bank, flags, true, after, &m.messenger));
    EXPECT_EQ(test::ReadText(victim), "keep me");
    EXPECT_EQ(test::ReadText(other), "keep me too");
    EXPECT_FALSE(std::filesystem::is_symlink(bank));
    EXPECT_TRUE(after.entries[5].fits());
    EXPECT_EQ(test::ReadBytes(bank + ".OLD"), original);

    ::unlink((bank + ".NEW").c_str());
    ForceDirectories(bank + ".NEW");
    const auto expanded = test::ReadBytes(bank);
    test::WriteBytes(bank, original);
    ASSERT_TRUE(ExpandArtBank(bank, flags, false, after, &m.messenger));
    EXPECT_EQ(test::ReadBytes(bank), expanded);
#endif
}

TEST_F(ArtBankFileTest, ADamagedBankIsFoundBeforeAnythingIsWritten)
{
    auto setWord = [](std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
        for (int k = 0; k < 4; ++k)
            bytes[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(value >> (8 * k));
    };
    const std::size_t offsetField = kArtDirectoryStart + 20;
    const std::size_t sizeField = kArtDirectoryStart + 16;
    std::vector<std::vector<std::uint8_t>> damaged;
    // The data said to begin far beyond the end of the file (copying up to
    // it would write 4 GB).
    damaged.push_back(original);
    setWord(damaged.back(), offsetField, 0xF0000000u);
    // The directory alone, the pictures cut off.
    damaged.emplace_back(original.begin(), original.begin() + kArtDirectoryEnd);
    // The last entry one byte longer than the file.
    damaged.push_back(original);
    const std::size_t last = (kArtEntryCount - 1) * kArtDirectoryEntrySize;
    setWord(damaged.back(), sizeField + last, ParseArtDirectory(original).entries.back().reservedSize + 1);
    // A later entry's data inside the directory.
    damaged.push_back(original);
    setWord(damaged.back(), offsetField + 9 * kArtDirectoryEntrySize, 40);

    std::vector<bool> flags(kArtEntryCount, true);
    for (const auto& bytes : damaged) {
        test::WriteBytes(bank, bytes);
        ArtDirectory after;
        std::size_t progressCalls = 0;
        EXPECT_FALSE(
            ExpandArtBank(bank, flags, false, after, &m.messenger, [&](std::size_t, std::size_t) { ++progressCalls; }));
        EXPECT_EQ(progressCalls, 0u);
        EXPECT_FALSE(FileExists(bank + ".NEW"));
        EXPECT_EQ(test::ReadBytes(bank), bytes);
    }
    EXPECT_EQ(m.sink.numbers(), std::vector<int>(damaged.size(), kArtBankDamagedText));

    // Enlarging every entry to 8192 x 8192 would pass 4 GB: refused up front.
    auto huge = original;
    for (std::size_t i = 0; i < kArtEntryCount; ++i) {
        setWord(huge, kArtDirectoryStart + i * kArtDirectoryEntrySize + 8, kMaxArtSide);
        setWord(huge, kArtDirectoryStart + i * kArtDirectoryEntrySize + 12, kMaxArtSide);
    }
    test::WriteBytes(bank, huge);
    ArtDirectory after;
    EXPECT_FALSE(ExpandArtBank(bank, flags, false, after, &m.messenger));
    EXPECT_FALSE(FileExists(bank + ".NEW"));
    EXPECT_EQ(m.sink.numbers().back(), kArtBankDamagedText);
}

TEST_F(ArtBankFileTest, ImportsPicturesOfTheEntrysSizeOnly)
{
    ArtDirectory d;
    ReadArtDirectory(bank, d, &m.messenger);
    SaveBmpFile(ArtPictureToImage(ArtPicture(10, 11, 0x0101)), dir / "wrong.bmp");
    EXPECT_FALSE(ImportArtPicture(bank, d, 7, dir / "wrong.bmp", &m.messenger));
    ASSERT_EQ(m.sink.numbers(), (std::vector<int>{737}));
    EXPECT_EQ(test::ReadBytes(bank), original);

    ArtPicture right(10, 10, 0x0101);
    right.at(3, 3) = kArtKeyWord;
    right.at(4, 3) = kArtKeyWord;
    SaveBmpFile(ArtPictureToImage(right), dir / "right.bmp");
    ASSERT_TRUE(ImportArtPicture(bank, d, 7, dir / "right.bmp", &m.messenger));
    ArtPicture back;
    ReadArtImage(bank, 7, back, &m.messenger);
    EXPECT_EQ(back, right);
    // Exported, the key pixels are magenta.
    ASSERT_TRUE(ExportArtImage(bank, 7, dir / "out.bmp", &m.messenger));
    Image image = LoadBmpFile(dir / "out.bmp");
    EXPECT_EQ(image.pixel(3, 3), MakePixel(248, 0, 248));
    EXPECT_EQ(image.pixel(0, 0), MakePixel(0, 64, 8));
}

TEST_F(ArtBankFileTest, APictureTheEntryShowsAlreadyKeepsItsStoredBytes)
{
    ArtPicture keyed(10, 10, 0x0F0F);
    keyed.at(3, 3) = kArtKeyWord;
    keyed.at(4, 3) = kArtKeyWord;
    // The same pixels stored as the program would not write them: the run of
    // two key pixels as two runs of one.
    const auto encoded = EncodeArtEntry(keyed, false);
    const std::vector<std::uint8_t> run{0x1F, 0x7C, 0x01};
    const auto at = std::search(encoded.begin(), encoded.end(), run.begin(), run.end());
    ASSERT_NE(at, encoded.end());
    std::vector<std::uint8_t> stored(encoded.begin(), at);
    stored.insert(stored.end(), {0x1F, 0x7C, 0x00, 0x1F, 0x7C, 0x00});
    stored.insert(stored.end(), at + 3, encoded.end());
    ASSERT_EQ(DecodeArtEntry(stored, 10, 10, false), keyed);

    auto bank = original;
    const ArtDirectory d = ParseArtDirectory(bank);
    const std::size_t offset = d.entries[7].dataOffset;
    std::copy(stored.begin(), stored.end(), bank.begin() + static_cast<std::ptrdiff_t>(offset));
    const auto before = bank;
    SaveBmpFile(ArtPictureToImage(keyed), dir / "same.bmp");
    ASSERT_TRUE(ImportArtPicture(bank, d, 7, dir / "same.bmp", &m.messenger));
    EXPECT_EQ(bank, before);

    keyed.at(0, 0) = 0x1234;
    SaveBmpFile(ArtPictureToImage(keyed), dir / "changed.bmp");
    ASSERT_TRUE(ImportArtPicture(bank, d, 7, dir / "changed.bmp", &m.messenger));
    EXPECT_NE(bank, before);
    EXPECT_EQ(DecodeArtEntry(std::span(bank).subspan(offset, d.entries[7].reservedSize), 10, 10, false), keyed);
    EXPECT_TRUE(m.sink.shown.empty());
}

TEST(TeamArtSheet, PositionsAndSprites)
{
    EXPECT_EQ(TeamSheetEntry(2, 0), 70u);
    EXPECT_EQ(TeamSheetEntry(2, 29), 99u);
    EXPECT_EQ(TeamSheetEntry(2, 32), 424u);
    EXPECT_EQ(TeamSheetEntry(2, 34), 453u);
    EXPECT_EQ(TeamSheetEntry(2, 43), 506u);
    EXPECT_EQ(TeamSheetEntry(10, 44), 565u);
    EXPECT_EQ(TeamSheetPlace(32).y, 530u);

    ArtPicture sheet(kTeamSheetWidth, kTeamSheetHeight, 0x0001);
    const SheetPoint at = TeamSheetPlace(31);
    sheet.at(at.x + 1, at.y) = kArtKeyWord;
    ArtPicture target(60, 160, 0x7777);
    DrawTeamSprite(sheet, 31, target, -1, 10);
    EXPECT_EQ(target.at(0, 9), 0x7777);
    EXPECT_EQ(target.at(0, 10), 0x7777); // the key pixel is left out
    EXPECT_EQ(target.at(1, 10), 0x0001);
    EXPECT_EQ(target.at(56, 159), 0x0001);
    EXPECT_EQ(target.at(57, 159), 0x7777); // sprite is 58 wide, drawn from -1
    // Cut at the right and bottom edges of the target.
    ArtPicture corner(20, 20, 0x7777);
    DrawTeamSprite(sheet, 31, corner, 15, 18);
    EXPECT_EQ(corner.at(14, 18), 0x7777);
    EXPECT_EQ(corner.at(15, 18), 0x0001);
    EXPECT_EQ(corner.at(19, 19), 0x0001);
    EXPECT_EQ(corner.at(15, 17), 0x7777);
}

TEST(ArtPictureBmp, EncodedDirectlyAsThroughTheImage)
{
    // Odd widths pad their rows; the key word and every channel's top value
    // must come out as the 24-bit picture gives them.
    for (std::uint32_t width : {1u, 2u, 3u, 4u, 5u, 7u, 64u}) {
        ArtPicture picture(width, 3);
        for (std::size_t i = 0; i < picture.words.size(); ++i)
            picture.words[i] = static_cast<ArtWord>(i * 0x1357 + width);
        picture.words[0] = kArtKeyWord;
        picture.words.back() = 0x7FFF;
        EXPECT_EQ(EncodeArtPictureBmp(picture), EncodeBmp(ArtPictureToImage(picture))) << width;
    }
}

TEST(ArtBankGroups, EntriesOfATeamATrackAndABackground)
{
    std::vector<std::size_t> expected;
    for (std::size_t e = 70; e <= 99; ++e)
        expected.push_back(e);
    for (std::size_t e : {402u, 413u, 424u, 435u, 453u, 454u, 455u, 456u, 501u, 502u, 503u, 504u, 505u, 506u, 557u})
        expected.push_back(e);
    EXPECT_EQ(TeamArtEntryList(2), expected);
    EXPECT_EQ(TrackPictureEntryList(3), (std::vector<std::size_t>{578, 579, 580, 581, 642, 643, 644, 645}));
    EXPECT_EQ(TrackPictureEntry(15, 1, 3), 693u);
    EXPECT_EQ(MenuBackgroundEntry(84), 839u);
}
