// Track records, the game's track data in GP3.EXE and F1GSTATE.SAV, the
// stream of track-map labels and the editor's track commands.

#include "TestSupport.h"

#include "DemoInstallation.h"
#include "base/ByteReader.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "tracks/Gp3InfoValues.h"
#include "tracks/TrackDates.h"
#include "tracks/TrackEditing.h"
#include "tracks/TrackGameFiles.h"
#include "tracks/TrackImages.h"
#include "tracks/TrackSections.h"
#include "tracks/TracksArea.h"
#include "transfer/GameFile.h"

#include <gtest/gtest.h>

namespace pitwall {
namespace {

// Positions written out here from the game's tables, apart from the
// program's own.
struct Version {
    int version;
    std::uint32_t base5, strategies, records, secondLaps, names, sections, lapRecords, base6;
};
constexpr Version kV100 = {1, 0x143068, 80, 0x73B3B4, 0x143A7E, 0x8378F1, 0x84763E, 0x616, 0x143154};
constexpr Version kV113 = {2, 0x1442EC, 84, 0x73C948, 0x144D2E, 0x83A36D, 0x84A392, 0x6DA, 0x1443DC};

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

struct Game {
    explicit Game(const Version& v) : v(v)
    {
        test::MakeDemo(dir.path(), v.version, 1);
        exePath = ResolveGamePath(dir.path(), "GP3.EXE");
        savePath = ResolveGamePath(dir.path(), "F1GSTATE.SAV");
    }
    int format() const { return demo::SavegameFormatOfVersion(v.version); }
    TrackTable import(SlotMask slots)
    {
        TrackTable table;
        GameFile exe(exePath), save(savePath);
        ReadLapRecords(table, save, format(), slots);
        ReadTrackParameters(table, exe, v.version, slots);
        return table;
    }
    void exportTable(const TrackTable& table, SlotMask slots)
    {
        GameFile exe(exePath), save(savePath);
        WriteLapRecords(table, save, format(), slots);
        WriteTrackParameters(table, exe, v.version, slots);
        for (int t = 0; t < kTrackCount; ++t)
            if (slots[static_cast<std::size_t>(t)]) {
                WriteTrackFileName(table.info[static_cast<std::size_t>(t)].fileName.text(), exe, v.version, t);
                cutBumps += WriteBumps(table.info[static_cast<std::size_t>(t)], exe, v.version, t);
            }
        exe.close();
        save.close();
    }
    void poke(const std::string& path, std::uint32_t at, std::vector<std::uint8_t> bytes)
    {
        auto all = test::ReadBytes(path);
        std::copy(bytes.begin(), bytes.end(), all.begin() + at);
        test::WriteBytes(path, all);
    }
    Version v;
    test::TempDir dir;
    std::string exePath, savePath;
    int cutBumps = 0;
};

SlotMask All()
{
    SlotMask m;
    m.fill(true);
    return m;
}

// --- record images ---------------------------------------------------------

TEST(TrackRecords, InfoImageHasTheGameLayoutAndRoundTrips)
{
    TrackInfo info;
    info.qualifying.driver = "Mika Hakkinen";
    info.race.lapTime = 93200;
    info.race.date = 36000;
    info.savegameByte = 0x5A;
    info.laps = 63;
    info.texts[0][0] = "Melbourne";
    info.texts[6][7] = "Attr PT";
    info.fileName = "F1CT01.DAT";
    info.grip = 0x1234;
    info.strategies[23] = 0xBEEF;
    info.metres = 4873;
    info.feet = 15987;
    info.setup = {1, 2, 3, 4, 5, 6, 7, 80};
    info.fuelPlayer = 900;
    info.fuelComputer = 901;
    info.year = 1998;
    info.practiceDay = 1;
    info.bumps[49] = {0xAAAA, 0xBBBB};
    info.bumpCountMinusOne = 49;
    auto image = TrackInfoImage(info);
    ASSERT_EQ(image.size(), 2868u);
    EXPECT_EQ(image[0], 'M');
    EXPECT_EQ(image[48 + 40], 0x10); // 93200 = 0x16C10
    EXPECT_EQ(U16(image, 48 + 44), 36000);
    EXPECT_EQ(image[96], 0x5A);
    EXPECT_EQ(image[97], 63);
    EXPECT_EQ(image[98], 'M');
    EXPECT_EQ(image[1538 + 7 * 30], 'A');
    EXPECT_EQ(image[1778 + 6], '.');
    EXPECT_EQ(U16(image, 1798), 0x1234);
    EXPECT_EQ(U16(image, 1800 + 46), 0xBEEF);
    EXPECT_EQ(U16(image, 1848), 4873);
    EXPECT_EQ(U16(image, 1850), 15987);
    EXPECT_EQ(image[1859], 80);
    EXPECT_EQ(U16(image, 1864), 1998);
    EXPECT_EQ(image[1866], 1);
    EXPECT_EQ(U16(image, 1868 + 49 * 4 + 2), 0xBBBB);
    EXPECT_EQ(image[2068], 49);
    EXPECT_EQ(TrackInfoFromImage(image), info);
    image.pop_back();
    EXPECT_THROW(TrackInfoFromImage(image), FormatError);
}

TEST(TrackRecords, OlderCarsetInfoFillsCountries2To5AndKeepsTheRest)
{
    std::vector<std::uint8_t> old(907, 0);
    old[97] = 53;
    for (int l = 0; l < 8; ++l) {
        old[98 + 30 * static_cast<std::size_t>(l)] = static_cast<std::uint8_t>('a' + l);  // city
        old[338 + 30 * static_cast<std::size_t>(l)] = static_cast<std::uint8_t>('K' + l); // country 1
        old[578 + 30 * static_cast<std::size_t>(l)] = static_cast<std::uint8_t>('0' + l); // attribute
    }
    std::string name = "MONZA.DAT";
    std::copy(name.begin(), name.end(), old.begin() + 818);
    old[838] = 0x11;      // grip
    old[840 + 46] = 0x22; // last strategy word
    old[888] = 0x33;      // metres
    old[890] = 0x44;      // feet
    old[899] = 70;        // sixth gear
    old[900] = 0x55;      // fuel player
    old[904] = 0xCE;      // year
    old[905] = 0x07;
    old[906] = 1; // Friday
    TrackInfo info;
    info.bumps[0] = {7, 8};
    info.bumpCountMinusOne = 0;
    ReadOldTrackInfo(info, old);
    for (int l = 0; l < 8; ++l) {
        EXPECT_EQ(info.texts[0][static_cast<std::size_t>(l)].text(), std::string(1, static_cast<char>('a' + l)));
        for (int k = 1; k <= 5; ++k)
            EXPECT_EQ(info.texts[static_cast<std::size_t>(k)][static_cast<std::size_t>(l)].text(),
                      std::string(1, static_cast<char>('K' + l)));
        EXPECT_EQ(info.texts[6][static_cast<std::size_t>(l)].text(), std::string(1, static_cast<char>('0' + l)));
    }
    EXPECT_EQ(info.laps, 53);
    EXPECT_EQ(info.fileName.text(), "MONZA.DAT");
    EXPECT_EQ(info.grip, 0x11);
    EXPECT_EQ(info.strategies[23], 0x22);
    EXPECT_EQ(info.metres, 0x33);
    EXPECT_EQ(info.feet, 0x44);
    EXPECT_EQ(info.setup[7], 70);
    EXPECT_EQ(info.fuelPlayer, 0x55);
    EXPECT_EQ(info.year, 1998);
    EXPECT_EQ(info.practiceDay, 1);
    EXPECT_EQ(info.bumps[0], (Bump{7, 8}));
    old.resize(906);
    EXPECT_THROW(ReadOldTrackInfo(info, old), FormatError);
}

TEST(TrackRecords, SectionsImageLayout)
{
    TrackSecInfo s;
    s.views[1].budget = 300;
    s.views[1].count = 2;
    s.views[1].sections[1] = {FixedText<30>("Parabolica"), 3, 150, 255, 2, 800, 600};
    auto image = TrackSecInfoImage(s);
    ASSERT_EQ(image.size(), 4816u);
    EXPECT_EQ(U16(image, 1204), 300);
    EXPECT_EQ(image[1206], 2);
    const std::size_t entry = 1204 + 4 + 40;
    EXPECT_EQ(image[entry], 'P');
    EXPECT_EQ(image[entry + 30], 3);
    EXPECT_EQ(image[entry + 31], 150);
    EXPECT_EQ(U16(image, entry + 32), 255);
    EXPECT_EQ(U16(image, entry + 38), 600);
    EXPECT_EQ(TrackSecInfoFromImage(image), s);
    image[1206] = 200; // a count beyond 30 reads as 30
    EXPECT_EQ(TrackSecInfoFromImage(image).views[1].count, 30);
}

// --- GP3.EXE and F1GSTATE.SAV ----------------------------------------------

class TrackGameFiles : public ::testing::TestWithParam<Version> {};

TEST_P(TrackGameFiles, ImportReadsTheStatedPositions)
{
    Game game(GetParam());
    const Version& v = GetParam();
    auto exe = test::ReadBytes(game.exePath);
    auto save = test::ReadBytes(game.savePath);
    // The first laps copy differs from the second: the second wins.
    game.poke(game.exePath, v.records + 50 + 6, {1});
    TrackTable table = game.import(All());
    const TrackInfo& t5 = table.info[5];
    EXPECT_EQ(t5.fileName.text(), "F1CT06.DAT");
    EXPECT_EQ(t5.grip, U16(exe, v.base5));
    EXPECT_EQ(t5.fuelPlayer, U16(exe, v.base5 + 48));
    EXPECT_EQ(t5.fuelComputer, U16(exe, v.base5 + 50));
    EXPECT_EQ(t5.strategies[0], U16(exe, v.base5 + v.strategies));
    EXPECT_EQ(t5.strategies[23], U16(exe, v.base5 + v.strategies + 46));
    EXPECT_EQ(t5.setup[0], static_cast<std::uint8_t>(exe[v.base5 - 20] - 151));
    EXPECT_LE(t5.setup[0], 20);
    EXPECT_EQ(t5.year, U16(exe, v.records + 50));
    EXPECT_EQ(t5.metres, U16(exe, v.records + 52));
    EXPECT_EQ(t5.laps, exe[v.secondLaps + 5]);
    EXPECT_EQ(t5.bumps[0].position, U16(exe, v.base5 + 160));
    EXPECT_EQ(t5.bumps[static_cast<std::size_t>(t5.bumpCountMinusOne) + 1].position, 0);
    EXPECT_EQ(U16(exe, v.base5 + 160 + 4 * (t5.bumpCountMinusOne + 1)), 0xFFFF);
    const std::size_t record5 = v.lapRecords + 5 * 89;
    EXPECT_EQ(t5.qualifying.driver.text(), std::string(reinterpret_cast<const char*>(&save[record5])));
    EXPECT_EQ(t5.race.date, U16(save, record5 + 44 + 42) + 28491u);
    EXPECT_EQ(t5.savegameByte, save[record5 + 88]);
    // Slot 0 has a Friday (word 0), slot 1 a Thursday (0x00FF).
    EXPECT_EQ(table.info[0].practiceDay, 1);
    EXPECT_EQ(table.info[1].practiceDay, 0);
    // Unselected slots stay as they were.
    SlotMask only3{};
    only3[3] = true;
    TrackTable some = game.import(only3);
    EXPECT_EQ(some.info[3].fileName.text(), "F1CT04.DAT");
    EXPECT_EQ(some.info[4], TrackInfo{});
}

TEST_P(TrackGameFiles, ExportStraightAfterImportChangesNothingAndEditsLandWhereTheGameReadsThem)
{
    Game game(GetParam());
    const Version& v = GetParam();
    auto exeBefore = test::ReadBytes(game.exePath);
    auto saveBefore = test::ReadBytes(game.savePath);
    TrackTable table = game.import(All());
    game.exportTable(table, All());
    EXPECT_TRUE(test::ReadBytes(game.exePath) == exeBefore);
    EXPECT_TRUE(test::ReadBytes(game.savePath) == saveBefore);

    // Edge cases of the encodings, in slot 5.
    TrackInfo& t5 = table.info[5];
    t5.setup[0] = 0;
    t5.setup[7] = 80;
    table.info[3].practiceDay = 0; // Thursday, was Friday
    table.info[1].practiceDay = 1; // Friday, was Thursday
    t5.qualifying.date = 28491;    // 1 January 1978
    t5.race.date = 100;            // before 1978: held at the first day
    t5.fileName = "F1CT99.DAT";
    t5.laps = 77;
    game.exportTable(table, All());
    auto exe = test::ReadBytes(game.exePath);
    auto save = test::ReadBytes(game.savePath);
    EXPECT_EQ(exe[v.base5 - 20], 151);
    EXPECT_EQ(exe[v.base5 - 13], 231);
    EXPECT_EQ(U16(exe, v.records + 30 + 7), 0x00FF);
    EXPECT_EQ(U16(exe, v.records + 10 + 7), 0);
    EXPECT_EQ(exe[v.records + 50 + 6], 77);
    EXPECT_EQ(exe[v.secondLaps + 5], 77);
    EXPECT_EQ(std::string(exe.begin() + v.names + 100, exe.begin() + v.names + 120),
              std::string("CIRCUITS\\F1CT99.DAT") + '\0');
    const std::size_t record5 = v.lapRecords + 5 * 89;
    EXPECT_EQ(U16(save, record5 + 42), 0);
    EXPECT_EQ(U16(save, record5 + 44 + 42), 0);
    TrackTable back = game.import(All());
    EXPECT_EQ(back.info[5].setup, t5.setup);
    EXPECT_EQ(back.info[3].practiceDay, 0);
    EXPECT_EQ(back.info[1].practiceDay, 1);
    EXPECT_EQ(back.info[5].qualifying.date, 28491u);
    // Any word but 0 is a Thursday.
    game.poke(game.exePath, v.records + 50 + 7, {0x01, 0x00});
    EXPECT_EQ(game.import(All()).info[5].practiceDay, 0);
    // A longer name in the game's table is cut to its first ten characters.
    game.poke(game.exePath, v.names + 100,
              {'C', 'I', 'R', 'C', 'U', 'I', 'T', 'S', '\\', 's', 'i', 'l', 'v', 'e', 'r', 's', 't', 'o', 'n', 'e'});
    EXPECT_EQ(game.import(All()).info[5].fileName.text(), "SILVERSTON");
}

TEST_P(TrackGameFiles, BumpsGoBackIntoTheSlotsOwnBlockOnly)
{
    Game game(GetParam());
    const Version& v = GetParam();
    // Slot 5's bumps run from base + 160 up to slot 6's car setup at its
    // base - 20; one pair of that room holds the end mark.
    const std::uint32_t first = v.base5 + 160, blockEnd = v.base6 - 20;
    const int room = static_cast<int>(blockEnd - first) / 4 - 1;
    TrackTable table = game.import(All());
    TrackInfo& t5 = table.info[5];
    ASSERT_GT(t5.bumpCount(), 1);

    // Edited and fewer bumps: the pairs, the end mark, nothing else.
    auto before = test::ReadBytes(game.exePath);
    t5.bumps[0] = {1234, 56};
    t5.bumps[1] = {4321, 65};
    t5.bumpCountMinusOne = 1;
    game.exportTable(table, All());
    auto exe = test::ReadBytes(game.exePath);
    EXPECT_EQ(U16(exe, first), 1234);
    EXPECT_EQ(U16(exe, first + 2), 56);
    EXPECT_EQ(U16(exe, first + 6), 65);
    EXPECT_EQ(U16(exe, first + 8), 0xFFFF);
    for (std::size_t at = 0; at < exe.size(); ++at) {
        if (at < first || at >= first + 10) {
            ASSERT_EQ(exe[at], before[at]) << "offset " << at;
        }
    }
    TrackInfo back = game.import(All()).info[5];
    EXPECT_EQ(back.bumpCount(), 2);
    EXPECT_EQ(back.bumps[1], (Bump{4321, 65}));
    EXPECT_EQ(game.cutBumps, 0);

    // Fifty bumps (as a carset from a changed game may hold) fill the room
    // and stop before slot 6's block; the rest is reported as cut.
    before = exe;
    for (int b = 0; b < kMaxBumps; ++b)
        t5.bumps[static_cast<std::size_t>(b)] = {static_cast<std::uint16_t>(100 + b), 7};
    t5.bumpCountMinusOne = kMaxBumps - 1;
    game.exportTable(table, All());
    exe = test::ReadBytes(game.exePath);
    EXPECT_EQ(game.cutBumps, kMaxBumps - room);
    EXPECT_EQ(U16(exe, first + 4u * static_cast<std::uint32_t>(room - 1)), 100 + room - 1);
    EXPECT_EQ(U16(exe, first + 4u * static_cast<std::uint32_t>(room)), 0xFFFF);
    EXPECT_TRUE(std::equal(exe.begin() + blockEnd, exe.end(), before.begin() + blockEnd));
    EXPECT_EQ(game.import(All()).info[5].bumpCount(), room);

    // A bump at the end mark's position (a carset may carry one) is moved
    // one short of it, so the bumps after it still reach the game.
    t5.bumps[0] = {0xFFFF, 9};
    t5.bumps[1] = {4321, 65};
    t5.bumpCountMinusOne = 1;
    game.exportTable(table, All());
    back = game.import(All()).info[5];
    ASSERT_EQ(back.bumpCount(), 2);
    EXPECT_EQ(back.bumps[0], (Bump{0xFFFE, 9}));
    EXPECT_EQ(back.bumps[1], (Bump{4321, 65}));

    // No bumps at all: the end mark first; read back as none.
    t5.bumpCountMinusOne = 0xFF;
    game.exportTable(table, All());
    EXPECT_EQ(U16(test::ReadBytes(game.exePath), first), 0xFFFF);
    EXPECT_EQ(game.import(All()).info[5].bumpCount(), 0);
}

TEST_P(TrackGameFiles, ShortFilesAreErrorsAndChangeNothing)
{
    Game game(GetParam());
    auto exe = test::ReadBytes(game.exePath);
    exe.resize(0x100000);
    test::WriteBytes(game.exePath, exe);
    TrackTable table;
    table.info[0].grip = 42;
    const TrackTable before = table;
    GameFile file(game.exePath), save(game.savePath);
    EXPECT_THROW(ReadTrackParameters(table, file, GetParam().version, All()), GameFileError);
    EXPECT_EQ(table.info, before.info);
    EXPECT_THROW(WriteTrackParameters(table, file, GetParam().version, All()), GameFileError);
    EXPECT_FALSE(file.changed());
}

INSTANTIATE_TEST_SUITE_P(Versions, TrackGameFiles, ::testing::Values(kV100, kV113),
                         [](const auto& info) { return info.param.version == 1 ? "v100" : "v113"; });

// --- the labels stream -----------------------------------------------------

struct Stream {
    explicit Stream(const Version& v) : game(v)
    {
        auto exe = test::ReadBytes(game.exePath);
        const std::size_t end = v.version == 1 ? 0x84D000 : 0x850000;
        bytes.assign(exe.begin() + v.sections, exe.begin() + static_cast<std::ptrdiff_t>(end));
    }
    Game game;
    std::vector<std::uint8_t> bytes;
};

TEST(TrackSections, EverySlotWritesBackItsOwnBytes)
{
    for (const Version& v : {kV100, kV113}) {
        Stream s(v);
        SectionsRead read = ReadTrackSections(s.bytes);
        EXPECT_FALSE(read.overran);
        EXPECT_TRUE(read.damaged.empty());
        std::size_t total = 2;
        for (int t = 0; t < kTrackCount; ++t) {
            auto bytes = SlotSectionsBytes(read.bySlot[static_cast<std::size_t>(t)], t);
            ASSERT_TRUE(bytes) << t;
            const std::size_t at = SectionsSlotOffset(t);
            EXPECT_EQ(at, total);
            EXPECT_TRUE(std::equal(bytes->begin(), bytes->end(), s.bytes.begin() + static_cast<std::ptrdiff_t>(at)))
                << "slot " << t;
            total += bytes->size();
        }
        EXPECT_EQ(total, 2u + 21085u);
        // The demo has sections starting at x 255 (a 0xFF byte after a
        // separator) and an empty last view in slot 6.
        EXPECT_EQ(read.bySlot[6].views[3].count, 0);
        bool x255 = false;
        for (const auto& slot : read.bySlot)
            for (const auto& view : slot.views)
                for (int i = 0; i < view.count; ++i)
                    x255 = x255 || view.sections[static_cast<std::size_t>(i)].x1 == 255;
        EXPECT_TRUE(x255);
    }
}

TEST(TrackSections, ShortenedLabelsKeepTheSlotLengthAndReadBack)
{
    Stream s(kV113);
    SectionsRead read = ReadTrackSections(s.bytes);
    TrackSecInfo& slot3 = read.bySlot[3];
    const std::uint16_t budget = slot3.views[1].budget;
    std::string label = slot3.views[1].sections[0].label.text();
    ASSERT_GT(label.size(), 3u);
    slot3.views[1].sections[0].label = label.substr(0, 2);
    slot3.views[1].sections[1].label = "";
    // A shortened view in every position: the first, one before an empty one.
    read.bySlot[6].views[2].sections[0].label = "X";
    read.bySlot[15].views[3].sections[0].label = "Y";
    std::vector<std::uint8_t> stream = s.bytes;
    for (int t : {3, 6, 15}) {
        auto bytes = SlotSectionsBytes(read.bySlot[static_cast<std::size_t>(t)], t);
        ASSERT_TRUE(bytes);
        ASSERT_EQ(bytes->size(), kSectionsSlotBytes[static_cast<std::size_t>(t)]);
        std::copy(bytes->begin(), bytes->end(), stream.begin() + static_cast<std::ptrdiff_t>(SectionsSlotOffset(t)));
    }
    SectionsRead back = ReadTrackSections(stream);
    EXPECT_TRUE(back.damaged.empty());
    for (int t = 0; t < kTrackCount; ++t)
        EXPECT_EQ(back.bySlot[static_cast<std::size_t>(t)], read.bySlot[static_cast<std::size_t>(t)]) << t;
    EXPECT_EQ(back.bySlot[3].views[1].budget, budget);
    EXPECT_EQ(back.bySlot[3].views[1].sections[0].label.text(), label.substr(0, 2));

    // Too long for its budget: the slot is refused.
    read.bySlot[3].views[0].sections[0].label = std::string(29, 'W');
    read.bySlot[3].views[0].budget = 3;
    EXPECT_FALSE(SlotSectionsBytes(read.bySlot[3], 3));
}

TEST(TrackSections, DamagedOrShortStreamsNeverReadOutside)
{
    Stream s(kV100);
    std::vector<std::uint8_t> cut(s.bytes.begin(), s.bytes.begin() + 5000);
    SectionsRead read = ReadTrackSections(cut);
    EXPECT_TRUE(read.overran);
    EXPECT_GT(read.bySlot[0].views[0].count, 0);
    std::vector<std::uint8_t> noise(s.bytes.size());
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<std::uint8_t>(i * 37 % 251 == 0 ? 0xFF : i * 7);
    SectionsRead damaged = ReadTrackSections(noise);
    EXPECT_FALSE(damaged.damaged.empty());
    std::vector<std::uint8_t> allFill(s.bytes.size(), 0xFF);
    SectionsRead fill = ReadTrackSections(allFill);
    EXPECT_TRUE(fill.damaged.empty());
    EXPECT_EQ(fill.bySlot[0].views[0].count, 0);
}

// --- editor commands --------------------------------------------------------

TEST(TrackEditing, ComputeButtonsAndStopStrategies)
{
    EXPECT_EQ(LengthFromLaps(63), 4873);
    EXPECT_EQ(LapsFromLength(4873), 63);
    EXPECT_FALSE(LengthFromLaps(0));
    EXPECT_FALSE(LapsFromLength(0));
    EXPECT_EQ(LapsFromLength(1), static_cast<std::uint8_t>(307000));

    TrackInfo info;
    info.strategies[0] = 40;
    info.strategies[8] = 40;
    info.strategies[16] = 20;
    info.strategies[7] = 0x7777; // a word the strategies do not use
    TrackInfo fewer = info;
    FewerStops(fewer, 60);
    EXPECT_EQ(StrategyPercentages(fewer), (std::array<int, 3>{43, 42, 15}));
    TrackInfo more = info;
    MoreStops(more, 60);
    EXPECT_EQ(StrategyPercentages(more), (std::array<int, 3>{35, 42, 23}));

    RecomputeStrategyLaps(info, 60);
    const std::array<std::uint16_t, 24> expected = {40, 30, 6, 0, 0,  0,  0, 0x7777, 40, 20, 6, 40,
                                                    6,  0,  0, 0, 20, 15, 6, 30,     6,  45, 6, 0};
    EXPECT_EQ(info.strategies, expected);
    info.strategies[8] = 0; // a group nobody uses is cleared
    RecomputeStrategyLaps(info, 60);
    for (int w = 8; w < 16; ++w)
        EXPECT_EQ(info.strategies[static_cast<std::size_t>(w)], 0);
}

TEST(TrackEditing, PerfectingTheStrategyMakesTheSharesAddUpTo100)
{
    auto perfected = [](std::array<std::uint16_t, 3> shares, int laps) {
        TrackInfo info;
        for (int g = 0; g < 3; ++g)
            info.strategies[static_cast<std::size_t>(8 * g)] = shares[static_cast<std::size_t>(g)];
        PerfectStrategy(info, laps);
        return info;
    };
    EXPECT_EQ(StrategyPercentages(perfected({40, 40, 40}, 60)), (std::array<int, 3>{34, 33, 33}));
    EXPECT_EQ(StrategyPercentages(perfected({10, 30, 0}, 60)), (std::array<int, 3>{25, 75, 0}));
    EXPECT_EQ(StrategyPercentages(perfected({20, 50, 30}, 60)), (std::array<int, 3>{20, 50, 30}));
    EXPECT_EQ(StrategyPercentages(perfected({0, 0, 0}, 60)), (std::array<int, 3>{0, 0, 0}));
    // 1 + 1 + 1 of 3: 33 each and the one left to the first.
    EXPECT_EQ(StrategyPercentages(perfected({1, 1, 1}, 60)), (std::array<int, 3>{34, 33, 33}));
    // The laps follow as "Rundenzahlen neu berechnen" gives them.
    TrackInfo info = perfected({0, 60, 60}, 60);
    EXPECT_EQ(info.strategies[1], 0);
    EXPECT_EQ(info.strategies[9], 20);
    EXPECT_EQ(info.strategies[11], 40);
    EXPECT_EQ(info.strategies[21], 45);
}

TEST(TrackEditing, Gp3InfoValuesTakenIntoTheRecord)
{
    TrackInfoBlock block;
    block.found = true;
    block.values[0] = "Autodromo Nazionale di Monza, Italia"; // longer than 29
    block.values[1] = "Italy";
    block.values[4] = "1998";
    block.values[7] = "300"; // more laps than the game holds
    block.values[10] = "5770";
    block.values[11] = "M. Hakkinen, McLaren Mercedes, 1:25.139, 13.9.1998";
    block.values[12] = "1.22.1, 1997";
    TrackInfo info;
    info.laps = 53;
    for (auto f : {Gp3InfoField::Name, Gp3InfoField::Country, Gp3InfoField::Year, Gp3InfoField::LengthMetres,
                   Gp3InfoField::LapRecord, Gp3InfoField::LapRecordQualify})
        EXPECT_TRUE(TakeGp3InfoValue(info, block, f));
    EXPECT_FALSE(TakeGp3InfoValue(info, block, Gp3InfoField::Laps));
    EXPECT_FALSE(TakeGp3InfoValue(info, block, Gp3InfoField::Tyre));
    EXPECT_EQ(info.laps, 53);
    EXPECT_EQ(info.texts[kTrackCity][7].text(), "Autodromo Nazionale di Monza,");
    EXPECT_EQ(info.texts[5][3].text(), "Italy");
    EXPECT_EQ(info.texts[kTrackAttribute][0].text(), "");
    EXPECT_EQ(info.year, 1998);
    EXPECT_EQ(info.metres, 5770);
    EXPECT_EQ(info.race.driver.text(), "M. Hakkinen");
    EXPECT_EQ(info.race.team.text(), "McLaren Merce"); // the team field holds 13 characters
    EXPECT_EQ(info.race.lapTime, 85139u);
    EXPECT_EQ(info.race.date, SerialOfDate({1998, 9, 13}));
    EXPECT_EQ(info.qualifying.lapTime, 82100u);
    EXPECT_EQ(info.qualifying.date, SerialOfDate({1997, 1, 1}));
    EXPECT_EQ(info.qualifying.driver.text(), ""); // not named: kept

    // Values that are no time or no number change nothing; nor does a
    // track file without a block.
    const TrackInfo before = info;
    block.values[11] = "fast, Monza";
    block.values[4] = "nineteen";
    EXPECT_FALSE(TakeGp3InfoValue(info, block, Gp3InfoField::LapRecord));
    EXPECT_FALSE(TakeGp3InfoValue(info, block, Gp3InfoField::Year));
    block.found = false;
    EXPECT_FALSE(TakeGp3InfoValue(info, block, Gp3InfoField::Name));
    EXPECT_EQ(info, before);
}

TEST(TrackEditing, MovingATrackTakesItsFlagsSectionsFilesAndPicturesAlong)
{
    test::TempDir work;
    TrackTable table;
    TransferState transfer;
    for (int t = 0; t < kTrackCount; ++t) {
        table.info[static_cast<std::size_t>(t)].grip = static_cast<std::uint16_t>(t);
        table.sections[static_cast<std::size_t>(t)].views[0].budget = static_cast<std::uint16_t>(100 + t);
    }
    table.trackFiles[3] = std::vector<std::uint8_t>{3};
    transfer.loaded[TrackFileItem(3)] = 1;
    transfer.loaded[TrackSectionsItem(1)] = 1;
    transfer.loaded[TrackInfoItem(0)] = 1;
    test::WriteText(work / "TrackReplace312.BMP", "three");
    test::WriteText(work / "TrackReplace000.BMP", "zero");

    MoveTrack(table, transfer, work.path(), 3, 0);
    const std::array<int, 4> order = {3, 0, 1, 2};
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(table.info[static_cast<std::size_t>(s)].grip, order[static_cast<std::size_t>(s)]);
        EXPECT_EQ(table.sections[static_cast<std::size_t>(s)].views[0].budget,
                  100 + order[static_cast<std::size_t>(s)]);
    }
    EXPECT_EQ(table.info[4].grip, 4);
    EXPECT_TRUE(table.trackFiles[0]);
    EXPECT_FALSE(table.trackFiles[3]);
    EXPECT_TRUE(transfer.isLoaded(TrackFileItem(0)));
    EXPECT_FALSE(transfer.isLoaded(TrackFileItem(3)));
    EXPECT_TRUE(transfer.isLoaded(TrackSectionsItem(2)));
    EXPECT_TRUE(transfer.isLoaded(TrackInfoItem(1)));
    EXPECT_FALSE(transfer.isLoaded(TrackInfoItem(0)));
    EXPECT_EQ(test::ReadText(work / "TrackReplace012.BMP"), "three");
    EXPECT_EQ(test::ReadText(work / "TrackReplace100.BMP"), "zero");
    EXPECT_FALSE(FileExists(work / "TrackReplace312.BMP"));

    ExchangeTracks(table, transfer, work.path(), 0, 15);
    EXPECT_EQ(table.info[15].grip, 3);
    EXPECT_EQ(test::ReadText(work / "TrackReplace1512.BMP"), "three");
    const TrackTable before = table;
    MoveTrack(table, transfer, work.path(), 16, 0);
    ExchangeTracks(table, transfer, work.path(), 2, 2);
    EXPECT_EQ(table.info, before.info);
}

} // namespace
} // namespace pitwall

namespace pitwall {
namespace {

TEST(TrackDates, SerialsAndCalendarDates)
{
    EXPECT_EQ(DateOfSerial(0), (CalendarDate{1899, 12, 30}));
    EXPECT_EQ(DateOfSerial(28491), (CalendarDate{1978, 1, 1}));
    EXPECT_EQ(SerialOfDate({1978, 1, 1}), 28491u);
    EXPECT_EQ(SerialOfDate({2000, 2, 29}), 36585u);
    EXPECT_EQ(FormatSerialDate(36585), "2000-02-29");
    EXPECT_EQ(SerialOfDate({1800, 1, 1}), 0u);
    EXPECT_EQ(SavegameDateWord(28491), 0);
    EXPECT_EQ(DateFromSavegameWord(0), 28491u);
}

} // namespace
} // namespace pitwall
