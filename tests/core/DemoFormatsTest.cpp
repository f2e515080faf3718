// The game files of a generated installation, read back through the formats.

#include "TestSupport.h"

#include "DemoArtPictures.h"
#include "DemoInstallation.h"
#include "base/ByteReader.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "base/Messages.h"
#include "base/UITexts.h"
#include "formats/ArtBankFile.h"
#include "formats/GameInstallation.h"
#include "formats/GameLanguages.h"
#include "formats/SoundBankFiles.h"
#include "formats/StringFile.h"
#include "formats/TeamArtSheet.h"
#include "formats/TrackFile.h"
#include "transfer/ReportedFormats.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace pitwall;

namespace {

constexpr std::uint64_t kSeed = 7;

class DemoFormats : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<test::TempDir>();
        demo::DemoOptions options;
        options.seed = kSeed;
        demo::WriteDemoInstallation(dir->path(), options);
    }
    static void TearDownTestSuite() { dir.reset(); }
    static std::string Game(const std::string& relative) { return ResolveGamePath(dir->path(), relative); }

    static std::unique_ptr<test::TempDir> dir;
    UITexts texts;
    test::RecordingMessages sink;
    Messenger messenger{texts, sink};
};
std::unique_ptr<test::TempDir> DemoFormats::dir;

// Walks an entry's tokens the way the game reads them and counts their kinds.
struct TokenCount {
    std::set<int> directions;
    std::set<std::uint32_t> distances;
    int keyRuns = 0;
    int singleKeys = 0;
};
void CountTokens(std::span<const std::uint8_t> data, std::size_t pixels, bool singleWordKeys, TokenCount& count)
{
    static constexpr int kCounts[8] = {2, 3, 4, 5, 6, 7, 14, 28};
    ByteReader r(data);
    std::size_t done = 0;
    while (done < pixels && r.remaining() >= 2) {
        std::uint16_t w = r.u16();
        if (w & 0x8000) {
            std::uint8_t b2 = r.u8();
            count.directions.insert(b2 & 7);
            count.distances.insert(((w >> 8) & 0x7F) * 1024u + (w & 0xFF) * 4u + (b2 >> 6));
            done += static_cast<std::size_t>(kCounts[(b2 >> 3) & 7]);
        } else if (w == 0x7C1F && singleWordKeys) {
            ++count.singleKeys;
            ++done;
        } else if (w == 0x7C1F) {
            done += r.u8() + 1u;
            ++count.keyRuns;
        } else {
            ++done;
        }
    }
}

} // namespace

TEST_F(DemoFormats, EveryArtEntryDecodesToTheGeneratedPicture)
{
    const std::string bank = Game("BITMAPS\\GP3ART5.BIN");
    ArtDirectory directory;
    ASSERT_TRUE(ReadArtDirectory(bank, directory, &messenger));
    ASSERT_TRUE(directory.complete());
    auto bytes = test::ReadBytes(bank);
    TokenCount tokens;
    std::size_t fitting = 0;
    for (std::size_t i = 0; i < kArtEntryCount; ++i) {
        const ArtEntry& e = directory.entries[i];
        const demo::DemoArtSize size = demo::DemoArtEntrySize(i);
        ASSERT_EQ(e.width, size.width) << i;
        ASSERT_EQ(e.height, size.height) << i;
        ArtPicture picture;
        ASSERT_TRUE(ReadArtImage(bank, i, picture, &messenger)) << i;
        ASSERT_EQ(picture, demo::DemoArtPicture(i, kSeed)) << "entry " << i;
        fitting += e.fits() ? 1 : 0;
        ASSERT_LE(std::uint64_t{e.dataOffset} + e.reservedSize, bytes.size());
        CountTokens(std::span(bytes).subspan(e.dataOffset, e.reservedSize), std::size_t{e.width} * e.height,
                    UsesSingleWordKeys(i), tokens);
    }
    // Realistic sizes: backgrounds and full-screen track pictures 800 x 600.
    EXPECT_EQ(directory.entries[755].width, 800u);
    EXPECT_EQ(directory.entries[600].width, 498u);
    EXPECT_EQ(directory.entries[10 + 30 * 2 + 15].width, TeamSpriteSize(15).width);
    EXPECT_GT(fitting, 5u);
    EXPECT_LT(fitting, 100u);
    EXPECT_EQ(tokens.directions.size(), 8u);
    EXPECT_GT(tokens.distances.size(), 50u);
    EXPECT_GT(*tokens.distances.rbegin(), 100'000u);
    EXPECT_GT(tokens.keyRuns, 1000);
    EXPECT_GT(tokens.singleKeys, 10);
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(DemoFormats, TeamSheetsAreComposedFromTheirEntries)
{
    ArtPicture sheet;
    ASSERT_TRUE(ComposeTeamSheet(Game("BITMAPS\\GP3ART5.BIN"), 3, sheet, &messenger));
    const ArtPicture logo = demo::DemoArtPicture(TeamSheetEntry(3, 44), kSeed);
    const SheetPoint at = TeamSheetPlace(44);
    EXPECT_EQ(sheet.at(at.x + 50, at.y + 20), logo.at(50, 20));
    // Helmet places are key colour where the helmet does not reach.
    EXPECT_EQ(sheet.at(TeamSheetPlace(38).x + 84, TeamSheetPlace(38).y + 79), kArtKeyWord);

    // Written back unchanged, every entry reads as before.
    const std::string copy = dir->path() + "sheet-copy.BIN";
    CopyFileForced(Game("BITMAPS\\GP3ART5.BIN"), copy);
    ArtDirectory directory;
    ReadArtDirectory(copy, directory, &messenger);
    // Compressed entries are too small for the program's encoding.
    EXPECT_FALSE(WriteTeamSheet(copy, directory, 3, sheet, &messenger));
    EXPECT_EQ(test::ReadBytes(copy), test::ReadBytes(Game("BITMAPS\\GP3ART5.BIN")));
    DeleteFileForced(copy);
}

TEST_F(DemoFormats, SoundBankSplitsAndJoinsByteIdentical)
{
    const std::string bankFile = Game("SAMPLES\\GP3SOUND.DAT");
    SoundTable table;
    ASSERT_TRUE(SplitSoundBankFile(bankFile, dir->path() + "work", table, &messenger));
    EXPECT_GT(table.entries.size(), 100u);
    std::set<int> bits, rates;
    bool large = false, thirdField = false;
    for (const SoundEntry& e : table.entries) {
        bits.insert(e.bits);
        rates.insert(e.sampleRate);
        large = large || e.dataSize > 500'001;
        thirdField = thirdField || e.keptWord != 0;
    }
    EXPECT_EQ(bits, (std::set<int>{8, 16}));
    EXPECT_GE(rates.size(), 3u);
    EXPECT_TRUE(large);
    EXPECT_TRUE(thirdField);
    std::vector<std::uint8_t> joined;
    ASSERT_TRUE(JoinSoundBank(table, dir->path() + "work", joined, &messenger));
    EXPECT_EQ(joined, test::ReadBytes(bankFile));
    DeleteTree(dir->path() + "work");
}

TEST_F(DemoFormats, StringFilesReadAndWriteBackByteIdentical)
{
    for (int l = 0; l < kLanguageCount; ++l) {
        const std::string file = Game(LanguageFileGamePath(l));
        ASSERT_TRUE(FileExists(file)) << file;
        std::vector<std::string> strings;
        ASSERT_TRUE(ReadStringFile(file, strings, &messenger));
        EXPECT_TRUE(StringCountFits(l, kVersion113, strings.size())) << l;
        EXPECT_EQ(BuildStringFile(strings), test::ReadBytes(file)) << l;
        // The text form carries every string through.
        EXPECT_EQ(ParseTextForm(BuildTextForm(strings)), strings);
        EXPECT_EQ(strings[static_cast<std::size_t>(TrackTextNumber(0, l, 13))], "Monza");
        EXPECT_EQ(strings[static_cast<std::size_t>(TrackTextNumber(1, l, 0))], "Australia");
        EXPECT_EQ(strings[static_cast<std::size_t>(TrackTextNumber(6, l, 5))], "Street circuit");
    }
}

TEST_F(DemoFormats, TrackFilesHoldTheirBlockAndJamList)
{
    auto names = ListTrackFiles(dir->path());
    ASSERT_EQ(names.size(), 16u);
    EXPECT_EQ(names.front(), "F1CT01.DAT");
    EXPECT_TRUE(FileExists(Game("CIRCUITS\\SILVERSTONE98.DAT")));
    int onlyHardware = 0, missing = 0;
    for (const std::string& name : names) {
        const std::string file = Game("CIRCUITS\\" + name);
        EXPECT_GT(FileSizeOf(file), 100'000u);
        EXPECT_LT(FileSizeOf(file), kTrackSearchWindow);
        TrackInfoBlock block;
        ASSERT_TRUE(ReadTrackInfo(file, block, &messenger)) << name;
        EXPECT_FALSE(block.values[0].empty());
        EXPECT_EQ(block.values[4], "1998");
        for (const std::string& jam : ReadJamList(file, &messenger)) {
            ASSERT_EQ(jam.rfind("GP3JAMS\\", 0), 0u) << jam;
            const bool soft = FileExists(Game(jam));
            const bool hard = FileExists(Game("GP3JAMSH\\" + jam.substr(8)));
            onlyHardware += !soft && hard;
            missing += !soft && !hard;
        }
    }
    // Every texture a track needs is installed for both renderers, except
    // the one the JAM checks are to find.
    EXPECT_EQ(onlyHardware, 0);
    EXPECT_EQ(missing, 1);
}

TEST(DemoFormatsVersions, OldGameHasFiveLanguages)
{
    test::TempDir dir;
    demo::DemoOptions options;
    options.gameVersion = kVersion100;
    demo::WriteDemoInstallation(dir.path(), options);
    for (int l = 0; l < kLanguageCount; ++l) {
        const std::string file = ResolveGamePath(dir.path(), LanguageFileGamePath(l));
        ASSERT_EQ(FileExists(file), l < 5) << l;
        if (l < 5) {
            EXPECT_EQ(ParseStringFile(test::ReadBytes(file)).size(),
                      static_cast<std::size_t>(ExpectedStringCount(l, kVersion100)));
        }
    }
}
