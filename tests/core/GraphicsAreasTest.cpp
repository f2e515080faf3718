#include "SessionFixture.h"

#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "base/Messages.h"
#include "formats/ArtBankFile.h"
#include "formats/Bmp.h"
#include "formats/GameInstallation.h"
#include "graphics/ArtPrecheck.h"
#include "graphics/CarNumbers.h"
#include "graphics/GraphicsPages.h"
#include "graphics/RampTables.h"
#include "graphics/TeamJams.h"
#include "graphics/TyreSet.h"
#include "menu/GameArtBank.h"
#include "menu/MenuArt.h"
#include "menu/MenuPictureFiles.h"
#include "session/Session.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetHeader.h"
#include "transfer/DataArea.h"
#include "transfer/GameChangeSet.h"
#include "transfer/SavegameChecksum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <map>
#include <zip.h>

using namespace pitwall;

namespace {

// Every index its own colour (index 0 black, as in the game's palette), so
// that decoding and encoding 8-bit pages loses nothing.
Palette DistinctPalette()
{
    std::array<Pixel, 256> pixels{};
    for (int i = 1; i < 256; ++i)
        pixels[static_cast<std::size_t>(i)] = MakePixel(i, 255 - i, 40 + i % 7);
    return Palette(pixels);
}

// Texts that name their number and a palette that tells every index apart,
// over a demo installation.
struct Fixture : test::SessionFixture {
    explicit Fixture(int gameVersion = 2, std::uint64_t seed = 1)
        : SessionFixture(gameVersion, seed,
                         {{349, " %s"},
                          {231, " %s"},
                          {232, " %s"},
                          {233, " %s"},
                          {234, " %s"},
                          {235, " %s"},
                          {236, " %s"},
                          {898, " %d"},
                          {1000, " %d"},
                          {1076, " %s %s"}})
    {
        program.palette = DistinctPalette();
    }
    GraphicsSet& graphics() { return session->workingSet.graphics; }
    std::string game(const std::string& relative) const
    {
        return GameFilePath(program.settings.gameDirectory, relative);
    }

    TransferOutcome importItems(const std::vector<int>& items)
    {
        select(items);
        return engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    }
    TransferOutcome saveItems(const std::vector<int>& items, const std::string& carset)
    {
        select(items);
        return engine().saveCarset(ItemChoice::AsSelected, carset, ui);
    }
};

std::vector<int> AllGraphicsItems()
{
    std::vector<int> items = {6, 10, 77, 102, 189, 190};
    for (int n = 11; n <= 76; ++n)
        items.push_back(n);
    for (int n = 178; n <= 188; ++n)
        items.push_back(n);
    return items;
}

std::vector<std::string> MemberNames(const std::string& path)
{
    CarsetArchive a(path, CarsetArchive::Mode::Read);
    std::vector<std::string> names;
    for (const auto& m : a.members())
        names.push_back(m.name);
    return names;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Every file below the directory by its relative path in upper case (the
// game's file system ignores case, and so may the generator's folders).
std::map<std::string, std::vector<std::uint8_t>> Snapshot(const std::string& directory)
{
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (auto& [name, bytes] : test::ReadFileTree(directory))
        files[Upper(name)] = std::move(bytes);
    return files;
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t count)
{
    return {bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + count)};
}

// The graphics tables of GP3.EXE per version, as the game has them.
struct ExeTables {
    std::size_t carNumbers, pitCrew, flags;
};
ExeTables TablesOf(int version)
{
    return version == 1 ? ExeTables{0x1810B0, 0x41BF38, 0x41C018} : ExeTables{0x182430, 0x41D2B8, 0x41D398};
}

void WriteStoredZip(const std::string& path,
                    const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& members)
{
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr);
    for (const auto& [name, bytes] : members) {
        void* copy = std::malloc(bytes.size() + 1);
        std::memcpy(copy, bytes.data(), bytes.size());
        zip_source_t* src = zip_source_buffer(z, copy, bytes.size(), 1);
        ASSERT_GE(zip_file_add(z, name.c_str(), src, ZIP_FL_OVERWRITE), 0) << name;
    }
    ASSERT_EQ(zip_close(z), 0);
}

std::vector<std::uint8_t> Header(std::uint32_t format, std::initializer_list<int> items)
{
    CarsetHeader h;
    h.format = format;
    for (int n : items)
        h.items[static_cast<std::size_t>(n)] = 1;
    return CarsetHeaderImage(h);
}

// --- carset members of the JAM graphics ------------------------------------

TEST(GraphicsCarset, EachItemStoresExactlyItsOwnMembers)
{
    Fixture f;
    ASSERT_EQ(f.importItems({}), TransferOutcome::Done);
    EXPECT_TRUE(f.loading.lines.empty()); // an empty selection shows no line
    ASSERT_EQ(f.importItems({11, 58, 69}), TransferOutcome::Done) << f.messages.shown.size();
    EXPECT_EQ(f.loading.lines,
              (std::vector<std::string>{"T231 WILLIA98.JAM", "T235 JM-MCLAR.JAM", "T236 JM-MCLAR.JAM"}));

    const std::string soft = f.root / "soft.GMS";
    ASSERT_EQ(f.saveItems({11}, soft), TransferOutcome::Done);
    EXPECT_EQ(MemberNames(soft), (std::vector<std::string>{"WILLIA98.JAMSoft.DAT", "Header.DAT", "INFO.DAT"}));
    // The member is the 8-bit JAM without scrambling: the game file unscrambled.
    CarsetArchive archive(soft, CarsetArchive::Mode::Read);
    TJAMFile fromGame(f.program.palette, f.game("GP3JAMS/Liveries/WILLIA98.JAM"));
    auto member = archive.read("WILLIA98.JAMSoft.DAT", 10'000'000);
    const TMemFile unscrambled = fromGame.Assemble(false);
    EXPECT_TRUE(member == std::vector<std::uint8_t>(unscrambled.Content().begin(), unscrambled.Content().end()));

    const std::string jacks = f.root / "jacks.GMS";
    ASSERT_EQ(f.saveItems({58}, jacks), TransferOutcome::Done);
    EXPECT_EQ(MemberNames(jacks),
              (std::vector<std::string>{"JM-MCLAR.JAMSoft.DAT", "JM-MCLA1.JAMSoft.DAT", "Header.DAT", "INFO.DAT"}));
    ASSERT_EQ(f.saveItems({69}, jacks), TransferOutcome::Done);
    EXPECT_EQ(MemberNames(jacks),
              (std::vector<std::string>{"JM-MCLAR.JAMHard.DAT", "JM-MCLA1.JAMHard.DAT", "Header.DAT", "INFO.DAT"}));

    Fixture b(2, 2);
    ASSERT_EQ(b.engine().loadCarset(ItemChoice::AllHeld, soft, b.ui), TransferOutcome::Done);
    ASSERT_TRUE(b.graphics().cars.soft[0]);
    EXPECT_EQ(b.graphics().cars.soft[0]->page(), f.graphics().cars.soft[0]->page());
    EXPECT_EQ(b.graphics().cars.soft[0]->entries(), f.graphics().cars.soft[0]->entries());
    EXPECT_TRUE(b.transfer().isLoaded(11));
    EXPECT_FALSE(b.transfer().isLoaded(22));
    EXPECT_TRUE(f.messages.shown.empty());
}

// --- fidelity over whole installations ---------------------------------------

TEST(GraphicsFidelity, ImportThenExportChangesOnlyThePitCrewStockValues)
{
    for (int version : {1, 3}) {
        Fixture f(version, 3);
        const auto before = Snapshot(f.program.settings.gameDirectory);
        ASSERT_EQ(f.importItems(AllGraphicsItems()), TransferOutcome::Done) << version;
        EXPECT_TRUE(f.messages.shown.empty()) << version;
        f.transfer().selection = f.transfer().loaded;
        ASSERT_EQ(f.engine().exportToGame(ItemChoice::AsSelected, f.ui), TransferOutcome::Done) << version;
        const auto after = Snapshot(f.program.settings.gameDirectory);
        ASSERT_EQ(after.size(), before.size());
        for (const auto& [name, bytes] : before) {
            if (name == "GP3.EXE")
                continue;
            EXPECT_TRUE(after.at(name) == bytes) << name << " changed in version " << version;
        }
        // GP3.EXE: only bytes 11-15 of the pit-crew records that held the
        // game's stock values (160, 176, 208, 224, 240) changed, each to the
        // team's default ramp base.
        const auto& exe = before.at("GP3.EXE");
        const auto& now = after.at("GP3.EXE");
        const std::size_t pitCrew = TablesOf(version).pitCrew;
        const std::uint8_t defaults[11] = {48, 48, 96, 3, 64, 96, 96, 3, 30, 30, 96};
        const std::uint8_t stock[5] = {160, 176, 208, 224, 240};
        int substituted = 0;
        for (std::size_t i = 0; i < exe.size(); ++i) {
            if (exe[i] == now[i])
                continue;
            ASSERT_GE(i, pitCrew + 11) << i;
            const std::size_t team = (i - pitCrew) / 16, b = (i - pitCrew) % 16;
            ASSERT_LT(team, 11u) << i;
            ASSERT_GE(b, 11u) << i;
            EXPECT_EQ(exe[i], stock[b - 11]);
            EXPECT_EQ(now[i], defaults[team]);
            ++substituted;
        }
        EXPECT_GT(substituted, 0); // the generator writes stock values for some teams
        EXPECT_EQ(StoredSavegameChecksum(after.at("F1GSTATE.SAV")), ComputeSavegameChecksum(after.at("F1GSTATE.SAV")));
    }
}

TEST(GraphicsFidelity, EveryItemTravelsFromOneInstallationToAnother)
{
    Fixture a(2, 1);
    ASSERT_EQ(a.importItems(AllGraphicsItems()), TransferOutcome::Done);
    const std::string carset = a.root / "all.GMS";
    ASSERT_EQ(a.engine().saveCarset(ItemChoice::AllHeld, carset, a.ui), TransferOutcome::Done);
    EXPECT_TRUE(a.messages.shown.empty());

    Fixture b(2, 2);
    const auto before = Snapshot(b.program.settings.gameDirectory);
    ASSERT_EQ(b.engine().loadCarset(ItemChoice::AllHeld, carset, b.ui), TransferOutcome::Done);
    for (int item : AllGraphicsItems())
        EXPECT_TRUE(b.transfer().isLoaded(item)) << item;
    b.transfer().selection = b.transfer().loaded;
    ASSERT_EQ(b.engine().exportToGame(ItemChoice::AsSelected, b.ui), TransferOutcome::Done);
    EXPECT_TRUE(b.messages.shown.empty());
    const auto after = Snapshot(b.program.settings.gameDirectory);
    const auto source = Snapshot(a.program.settings.gameDirectory);

    // Every JAM and tyre picture of the items is now A's, byte for byte.
    std::vector<std::string> carried;
    for (JamGroup group : {JamGroup::CarLiveries, JamGroup::CockpitLiveries, JamGroup::Jacks, JamGroup::Helmets})
        for (const JamItem& item : JamItemsOf(group))
            for (const JamFileSlot& file : item.files) {
                std::string path = JamGamePath(file, item.hardware);
                std::replace(path.begin(), path.end(), '\\', '/');
                carried.push_back(Upper(path));
            }
    for (int type = 0; type < 2; ++type)
        for (int file = 0; file < kTyreFileCount; ++file) {
            std::string path = TyreGamePath(type, file);
            std::replace(path.begin(), path.end(), '\\', '/');
            carried.push_back(Upper(path));
        }
    ASSERT_EQ(carried.size(), 2u * (11 + 11 + 22 + 2) + 12);
    for (const std::string& path : carried) {
        ASSERT_TRUE(after.count(path)) << path;
        EXPECT_TRUE(after.at(path) == source.at(path)) << path;
        EXPECT_FALSE(before.at(path) == source.at(path)) << path << " is the same in both demos";
    }
    for (const auto& [name, bytes] : before)
        if (name != "GP3.EXE" && name != "F1GSTATE.SAV"
            && std::find(carried.begin(), carried.end(), name) == carried.end()) {
            EXPECT_TRUE(after.at(name) == bytes) << name;
        }

    // GP3.EXE: A's tables at their places, everything else as B had it.
    const ExeTables t = TablesOf(2);
    const std::pair<std::size_t, std::size_t> blocks[] = {{t.carNumbers, 1320}, {t.pitCrew, 176}, {t.flags, 64}};
    const auto& exeA = source.at("GP3.EXE");
    const auto& exeB = before.at("GP3.EXE");
    const auto& exe = after.at("GP3.EXE");
    for (auto [at, count] : blocks)
        EXPECT_FALSE(Slice(exeB, at, count) == Slice(exeA, at, count)) << at;
    // The carset carried A's pit crew after the import's substitution.
    const auto& pitCrew = a.graphics().pitCrew;
    for (std::size_t team = 0; team < 11; ++team)
        EXPECT_TRUE(Slice(exe, t.pitCrew + 16 * team, 16)
                    == std::vector<std::uint8_t>(pitCrew[team].begin(), pitCrew[team].end()));
    EXPECT_TRUE(Slice(exe, t.carNumbers, 1320) == Slice(exeA, t.carNumbers, 1320));
    EXPECT_TRUE(Slice(exe, t.flags, 64) == Slice(exeA, t.flags, 64));
    std::size_t outside = 0;
    for (std::size_t i = 0; i < exe.size(); ++i) {
        bool inside = false;
        for (auto [at, count] : blocks)
            inside = inside || (i >= at && i < at + count);
        outside += !inside && exe[i] != exeB[i];
    }
    EXPECT_EQ(outside, 0u);
    const auto& save = after.at("F1GSTATE.SAV");
    EXPECT_EQ(StoredSavegameChecksum(save), ComputeSavegameChecksum(save));
}

TEST(GraphicsFidelity, CarNumbersMoveBetweenTheVersionsOffsets)
{
    Fixture a(2, 1);
    ASSERT_EQ(a.importItems({6}), TransferOutcome::Done);
    EXPECT_EQ(a.loading.lines, (std::vector<std::string>{"T770"}));
    const std::string carset = a.root / "numbers.GMS";
    ASSERT_EQ(a.engine().saveCarset(ItemChoice::AllHeld, carset, a.ui), TransferOutcome::Done);
    EXPECT_EQ(MemberNames(carset), (std::vector<std::string>{"Carnumbers.DAT", "Header.DAT", "INFO.DAT"}));
    const auto exeA = test::ReadBytes(a.game("GP3.EXE"));
    // The member is the records in team order: integers 0-23 from the first
    // table, 24-29 from the second.
    CarsetArchive archive(carset, CarsetArchive::Mode::Read);
    const auto member = archive.read("Carnumbers.DAT", 2000);
    ASSERT_EQ(member.size(), 1320u);
    EXPECT_TRUE(Slice(member, 120 * 4, 96) == Slice(exeA, 0x182430 + 96 * 4, 96));
    EXPECT_TRUE(Slice(member, 120 * 4 + 96, 24) == Slice(exeA, 0x182430 + 1056 + 24 * 4, 24));

    Fixture b(1, 2);
    const auto exeB = test::ReadBytes(b.game("GP3.EXE"));
    ASSERT_EQ(b.engine().loadCarset(ItemChoice::AllHeld, carset, b.ui), TransferOutcome::Done);
    b.transfer().selection = b.transfer().loaded;
    ASSERT_EQ(b.engine().exportToGame(ItemChoice::AsSelected, b.ui), TransferOutcome::Done);
    const auto exe = test::ReadBytes(b.game("GP3.EXE"));
    EXPECT_TRUE(Slice(exe, 0x1810B0, 1056) == Slice(exeA, 0x182430, 1056));
    EXPECT_TRUE(Slice(exe, 0x1810B0 + 1056, 264) == Slice(exeA, 0x182430 + 1056, 264));
    for (std::size_t i = 0; i < exe.size(); ++i)
        if (i < 0x1810B0 || i >= 0x1810B0 + 1320) {
            ASSERT_EQ(exe[i], exeB[i]) << i;
        }
}

// --- pit crew and flags --------------------------------------------------------

TEST(GraphicsPitCrew, DefaultsFormat7AndOneTeamReadsOnlyItsRecord)
{
    RampBases stock{};
    stock[11] = 160, stock[12] = 176, stock[13] = 208, stock[14] = 224, stock[15] = 240;
    RampBases team0 = SubstitutePitCrewDefaults(stock, 0);
    for (int b = 11; b < 16; ++b)
        EXPECT_EQ(team0[static_cast<std::size_t>(b)], 48);
    stock[11] = 161;
    EXPECT_EQ(SubstitutePitCrewDefaults(stock, 3)[11], 161);
    EXPECT_EQ(SubstitutePitCrewDefaults(stock, 3)[12], 3);

    Fixture f(2, 4);
    f.graphics().pitCrew[2].fill(7);
    f.graphics().pitCrew[4].fill(9);
    ASSERT_EQ(f.importItems({181}), TransferOutcome::Done);
    const auto exe = test::ReadBytes(f.game("GP3.EXE"));
    RampBases expected{};
    std::copy_n(exe.begin() + 0x41D2B8 + 48, 16, expected.begin());
    EXPECT_EQ(f.graphics().pitCrew[3], SubstitutePitCrewDefaults(expected, 3));
    RampBases sevens{};
    sevens.fill(7);
    EXPECT_EQ(f.graphics().pitCrew[2], sevens);
    EXPECT_EQ(f.graphics().pitCrew[4][0], 9);
    EXPECT_FALSE(f.transfer().isLoaded(180));
    EXPECT_EQ(f.loading.lines, (std::vector<std::string>{"T898 3"}));
    // The preview textures came along.
    for (const auto& texture : f.graphics().pitCrewTextures)
        EXPECT_TRUE(texture.has_value());

    // A carset of format 7 holds 13 bytes per team: bytes 3-15.
    const std::string old = f.root / "old.GMS";
    std::vector<std::uint8_t> thirteen = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    WriteStoredZip(old, {{"Header.DAT", Header(7, {178})}, {"PitCrewColors0.DAT", thirteen}});
    ASSERT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, old, f.ui), TransferOutcome::Done);
    EXPECT_EQ(f.graphics().pitCrew[0], (RampBases{3, 14, 24, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
}

TEST(GraphicsFlags, TablesAndFramesLoadTogether)
{
    Fixture f(1, 5);
    ASSERT_EQ(f.importItems({10}), TransferOutcome::Done);
    const auto exe = test::ReadBytes(f.game("GP3.EXE"));
    for (std::size_t type = 0; type < 4; ++type)
        EXPECT_TRUE(std::equal(f.graphics().flags[type].begin(), f.graphics().flags[type].end(),
                               exe.begin() + 0x41C018 + static_cast<std::ptrdiff_t>(16 * type)));
    for (const auto& frame : f.graphics().flagFrames)
        EXPECT_TRUE(frame.has_value());
    // A carset without the member skips the item.
    const std::string empty = f.root / "empty.GMS";
    WriteStoredZip(empty, {{"Header.DAT", Header(8, {10})}});
    const auto flags = f.graphics().flags;
    EXPECT_NE(f.engine().loadCarset(ItemChoice::AllHeld, empty, f.ui), TransferOutcome::Done);
    EXPECT_EQ(f.graphics().flags, flags);
    const auto shown = f.messages.numbers();
    EXPECT_NE(std::find(shown.begin(), shown.end(), 349), shown.end());
}

// --- tyres ------------------------------------------------------------------

TEST(GraphicsTyres, SaveReloadKeepsTheSheetAndTheUnusedColumns)
{
    Fixture f(2, 6);
    ASSERT_EQ(f.importItems({189}), TransferOutcome::Done);
    ASSERT_TRUE(f.graphics().tyres[0]);
    const TyreSet& set = *f.graphics().tyres[0];
    EXPECT_EQ(set.tread.width(), 320);
    EXPECT_EQ(set.tread.height(), 400);
    EXPECT_EQ(set.wheel.width(), 512);
    EXPECT_EQ(set.wheel.height(), 960);
    const Image game0 = LoadBmpFile(f.game("GP3JAMSH/TECHJAM/WHBLUR0.BMP"));
    // Sheet column 256 is the picture's column 257; the picture's column 256 is unused.
    EXPECT_EQ(set.wheel.pixel(256, 10), game0.pixel(257, 10));
    EXPECT_EQ(set.wheel.pixel(255, 479), game0.pixel(255, 479));

    // Paint the whole sheet: the written picture takes it at columns 0-255
    // and 257-512 and keeps the game's columns 256 and 513-639.
    f.graphics().tyres[0]->wheel.fill(MakePixel(1, 2, 3));
    const std::string carset = f.root / "tyre.GMS";
    ASSERT_EQ(f.saveItems({189}, carset), TransferOutcome::Done);
    CarsetArchive archive(carset, CarsetArchive::Mode::Read);
    EXPECT_EQ(MemberNames(carset).size(), 8u);
    const Image saved = DecodeBmp(archive.read("WHBLUR0.BMP", 2'000'000));
    ASSERT_EQ(saved.width(), 640);
    ASSERT_EQ(saved.height(), 480);
    for (int y : {0, 200, 479}) {
        EXPECT_EQ(saved.pixel(0, y), MakePixel(1, 2, 3));
        EXPECT_EQ(saved.pixel(512, y), MakePixel(1, 2, 3));
        EXPECT_EQ(saved.pixel(256, y), game0.pixel(256, y));
        for (int x = 513; x < 640; x += 21)
            EXPECT_EQ(saved.pixel(x, y), game0.pixel(x, y));
    }
    const Image painted = f.graphics().tyres[0]->wheel;
    Fixture b(2, 7);
    ASSERT_EQ(b.engine().loadCarset(ItemChoice::AllHeld, carset, b.ui), TransferOutcome::Done);
    ASSERT_TRUE(b.graphics().tyres[0]);
    EXPECT_EQ(b.graphics().tyres[0]->wheel, painted);
    EXPECT_EQ(b.graphics().tyres[0]->tread, f.graphics().tyres[0]->tread);
}

// --- art-bank check and previews ------------------------------------------

TEST(GraphicsArtPrecheck, EntriesOfTheSelectedItemsAndThoseWithoutRoom)
{
    ItemBytes selection{};
    EXPECT_TRUE(ArtEntriesToWrite(selection, {3}).empty());
    selection[104 + 2] = 1;  // team art of team 2
    selection[121 + 15] = 1; // pictures of track 16
    selection[5] = 1;
    const std::vector<int> entries = ArtEntriesToWrite(selection, {0, 84, 85});
    std::vector<int> expected;
    for (int e = 70; e <= 99; ++e)
        expected.push_back(e);
    for (int e : {402, 413, 424, 435, 453, 454, 455, 456, 501, 502, 503, 504, 505,
                  506, 557, 626, 627, 628, 629, 690, 691, 692, 693, 755, 839})
        expected.push_back(e);
    EXPECT_EQ(entries, expected); // 557 is the sheet's last picture; 85 is no background

    ArtDirectory directory;
    directory.entriesRead = 500;
    for (auto& entry : directory.entries)
        entry = ArtEntry{0, 0, 10, 10, 200, 0};
    directory.entries[75].reservedSize = 199;
    EXPECT_EQ(
        ArtEntriesThatDoNotFit(directory, entries),
        (std::vector<int>{75, 501, 502, 503, 504, 505, 506, 557, 626, 627, 628, 629, 690, 691, 692, 693, 755, 839}));
}

TEST(GraphicsArtPrecheck, TheFrontEndDecidesFirstAndTheAreaAsksOnlyAboutWhatStillLacksRoom)
{
    Fixture f;
    ASSERT_EQ(f.importItems({106}), TransferOutcome::Done); // team art of team 2
    ArtPicture& sheet = f.session->workingSet.teamArt[2];
    std::fill(sheet.words.begin(), sheet.words.end(), ArtWord{0x1234});
    const std::string bank = f.game(kArtBankGamePath);
    const auto before = test::ReadBytes(bank);

    // The handler hears of the entries without room that the export
    // changes: the team's changed art and the listed background loaded from
    // a file; declining stops the export before any write.
    std::vector<int> heard;
    int asked = 0;
    ArtPrecheck& precheck = f.session->graphicsAreas().artPrecheck;
    f.session->workingSet.menuBackgrounds = {MenuBackgroundLine(12, f.program.texts),
                                             MenuBackgroundLine(13, f.program.texts)};
    SaveBmpFile(Image(kMenuBackgroundWidth, kMenuBackgroundHeight, 24, MakePixel(200, 30, 30)),
                f.program.directories.working + MenuReplacementName(12));
    precheck.expand = [&](TransferContext&, const ArtDirectory&, const std::vector<int>& entries) {
        heard = entries;
        ++asked;
        return false;
    };
    f.transfer().loaded[5] = 1;
    f.select({106, 5});
    EXPECT_EQ(f.engine().exportToGame(ItemChoice::AsSelected, f.ui), TransferOutcome::Cancelled);
    EXPECT_EQ(test::ReadBytes(bank), before);
    EXPECT_TRUE(f.messages.asked.empty());
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.front(), 70);
    EXPECT_NE(std::find(heard.begin(), heard.end(), 755 + 12), heard.end());
    EXPECT_EQ(std::find(heard.begin(), heard.end(), 755 + 13), heard.end()); // the game's own picture
    EXPECT_EQ(std::find(heard.begin(), heard.end(), 489), heard.end());      // has room already

    // Track pictures as imported are the game's: their export needs no room
    // and the handler is not asked; a picture waiting in the working
    // directory is the one entry that needs it.
    ASSERT_EQ(f.importItems({121 + 4}), TransferOutcome::Done);
    asked = 0;
    f.select({121 + 4});
    EXPECT_EQ(f.engine().exportToGame(ItemChoice::AsSelected, f.ui), TransferOutcome::Done);
    EXPECT_EQ(asked, 0);
    SaveBmpFile(Image(498, 359, 24, MakePixel(10, 200, 30)), f.program.directories.working + "TrackReplace402.BMP");
    f.select({121 + 4});
    EXPECT_EQ(f.engine().exportToGame(ItemChoice::AsSelected, f.ui), TransferOutcome::Cancelled);
    EXPECT_EQ(heard, std::vector<int>{566 + 4 * 4 + 2});
    EXPECT_EQ(test::ReadBytes(bank), before);

    // A handler that lets the export go on without enlarging anything: the
    // team-art area asks (659) about the pictures it changes; No stops the
    // export and nothing is written in part.
    precheck.expand = [](TransferContext&, const ArtDirectory&, const std::vector<int>&) { return true; };
    f.select({106});
    f.messages.answer = false;
    EXPECT_EQ(f.engine().exportToGame(ItemChoice::AsSelected, f.ui), TransferOutcome::Cancelled);
    ASSERT_EQ(f.messages.asked.size(), 1u);
    EXPECT_EQ(f.messages.asked[0].number, 659);
    EXPECT_EQ(test::ReadBytes(bank), before);
}

// Team art and menu backgrounds edit the bank the run holds: what an edit
// writes counts for the current item and reaches the game with the run; an
// edit that writes nothing changes nothing; one that breaks off half-way
// takes every change of the run to the bank with it.
TEST(GraphicsArtBank, EditsOfTheRunsBankAreKeptOrGivenUpWhole)
{
    Fixture f;
    const std::string bank = ResolveGamePath(f.program.settings.gameDirectory, kArtBankGamePath);
    const auto before = test::ReadBytes(bank);
    Messenger messenger(f.program.texts, f.messages);
    GameChangeSet changes(f.program.settings.gameDirectory);
    TransferContext context{f.transfer(), f.program, f.loading, messenger};
    context.changes = &changes;
    const std::vector<std::uint8_t> mark = {1, 2, 3, 4};
    std::uint64_t at = 0;

    changes.setItem(106);
    EXPECT_FALSE(EditGameArtBank(context, [](std::vector<std::uint8_t>&, const ArtDirectory&) { return false; }));
    EXPECT_TRUE(changes.changes().empty());
    EXPECT_TRUE(EditGameArtBank(context, [&](std::vector<std::uint8_t>& bytes, const ArtDirectory& directory) {
        at = directory.entries[12].dataOffset;
        PatchArtBank(bytes, at, mark);
        return true;
    }));
    auto list = changes.changes();
    ASSERT_EQ(list.size(), 1u);
    ASSERT_EQ(list[0].items.size(), 1u);
    EXPECT_EQ(list[0].items[0].item, 106);
    ASSERT_NE(changes.pendingContent(kArtBankGamePath), nullptr);
    EXPECT_TRUE(std::equal(mark.begin(), mark.end(), changes.pendingContent(kArtBankGamePath)->begin() + at));
    EXPECT_EQ(test::ReadBytes(bank), before); // nothing on disk before the commit

    // Past the end of the bank: refused before a byte is written, and the run
    // gives its bank up altogether.
    EXPECT_THROW(EditGameArtBank(context,
                                 [&](std::vector<std::uint8_t>& bytes, const ArtDirectory&) {
                                     PatchArtBank(bytes, 8, mark);
                                     PatchArtBank(bytes, bytes.size() - 2, mark);
                                     return true;
                                 }),
                 std::runtime_error);
    EXPECT_EQ(changes.pendingContent(kArtBankGamePath), nullptr);
    EXPECT_TRUE(changes.changes().empty());
}

// --- what the editor's pages transfer ------------------------------------------

TEST(GraphicsPages, ItemsFieldsAndGridOfTheEditorPages)
{
    // Hardware car livery of team 4: 22 + 4 (11 + 4 + 11 x variant).
    EXPECT_EQ(PageItems(GraphicsPage::Cars, 4, 1), std::vector<int>{26});
    std::vector<int> cars = PageAllItems(GraphicsPage::Cars);
    EXPECT_EQ(cars.size(), 23u);
    EXPECT_EQ(cars.front(), 11);
    EXPECT_EQ(cars[21], 32);
    EXPECT_EQ(cars.back(), 6);
    EXPECT_EQ(PageItems(GraphicsPage::Cockpits, 10, 1), std::vector<int>{54});
    EXPECT_EQ(PageItems(GraphicsPage::Jacks, 3, 0), std::vector<int>{58});
    EXPECT_EQ(PageAllItems(GraphicsPage::Helmets), (std::vector<int>{77, 102}));
    EXPECT_EQ(PageItems(GraphicsPage::Helmets, 5, 1), std::vector<int>{102});
    EXPECT_EQ(PageItems(GraphicsPage::PitCrew, 10, 1), std::vector<int>{188});
    EXPECT_EQ(PageItems(GraphicsPage::Tyres, 1, 0), std::vector<int>{190});
    EXPECT_EQ(PageAllItems(GraphicsPage::Flags), std::vector<int>{10});

    // Row 12: column 0 is index 192 (kept), column 1 index 193 (ignored).
    EXPECT_EQ(GridIndexAt(0, 12 * 13), 192);
    EXPECT_EQ(GridIndexAt(14, 12 * 13 + 12), std::nullopt);
    EXPECT_EQ(GridIndexAt(13, 12), 0);
    EXPECT_EQ(GridIndexAt(14 * 15 + 13, 13), 31);
    EXPECT_EQ(GridIndexAt(14 * 16, 0), std::nullopt);

    EXPECT_EQ(CarNumberFieldValue("12a"), 0);
    EXPECT_EQ(CarNumberFieldValue(""), 0);
    EXPECT_EQ(CarNumberFieldValue("-7"), -7);
    EXPECT_EQ(CarNumberFieldValue("99999999999"), 0);
    EXPECT_EQ(CarNumberFieldValue("255"), 255);

    EXPECT_EQ(CarNumberFieldInteger(0, 0), 0);
    EXPECT_EQ(CarNumberFieldInteger(0, 1), 12);
    EXPECT_EQ(CarNumberFieldInteger(11, 1), 23);
    EXPECT_EQ(CarNumberFieldInteger(17, 1), 29);
    CarNumberRecord record{};
    for (std::size_t i = 0; i < record.size(); ++i)
        record[i] = static_cast<std::int32_t>(i + 1);
    // Front source of the second number: X 17, Y 18, W 19, H 20, 128 down.
    EXPECT_EQ(CarNumberOutline(record, 4, 1), (Rect{17, 146, 36, 166}));
    // Right target: X 29, Y 30 with the right source's W 11, H 12, 256 down.
    EXPECT_EQ(CarNumberOutline(record, 16, 0), (Rect{29, 286, 40, 298}));
}

// --- refused input --------------------------------------------------------------

TEST(GraphicsMends, WrongKindsAndDamagedJamsAreRefusedNamingTheFile)
{
    Fixture f(2, 8);
    ASSERT_EQ(f.importItems({11, 22}), TransferOutcome::Done);
    const Image softPage = f.graphics().cars.soft[0]->page();
    const Image hardPage = f.graphics().cars.hard[0]->page();

    // A hardware member holding an 8-bit JAM, and a damaged software member.
    const std::string bad = f.root / "bad.GMS";
    const auto eightBit = test::ReadBytes(f.game("GP3JAMS/Liveries/FERRAR98.JAM"));
    WriteStoredZip(bad,
                   {{"Header.DAT", Header(8, {11, 22})},
                    {"WILLIA98.JAMHard.DAT", eightBit},
                    {"WILLIA98.JAMSoft.DAT", {2, 0, 9, 0}}});
    EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, bad, f.ui), TransferOutcome::DoneWithErrors);
    EXPECT_EQ(f.graphics().cars.soft[0]->page(), softPage);
    EXPECT_EQ(f.graphics().cars.hard[0]->page(), hardPage);
    ASSERT_EQ(f.engine().lastReport().failures.size(), 2u);
    EXPECT_NE(f.engine().lastReport().failures[0].text.find("WILLIA98.JAMSoft.DAT"), std::string::npos);
    EXPECT_NE(f.engine().lastReport().failures[1].text.find("WILLIA98.JAMHard.DAT"), std::string::npos);
    EXPECT_NE(f.engine().lastReport().failures[1].text.find("8-bit"), std::string::npos);

    // A damaged game JAM: not loaded, and the message names its path.
    test::WriteBytes(f.game("GP3JAMS/Liveries/BENETT98.JAM"), {1, 2, 3});
    EXPECT_EQ(f.importItems({13}), TransferOutcome::DoneWithErrors);
    EXPECT_FALSE(f.transfer().isLoaded(13));
    EXPECT_FALSE(f.graphics().cars.soft[2]);
    ASSERT_FALSE(f.engine().lastReport().failures.empty());
    EXPECT_NE(f.engine().lastReport().failures[0].text.find("BENETT98.JAM"), std::string::npos);
    // Jacks come as a pair: one missing file takes neither.
    std::filesystem::remove(f.game("GP3JAMSH/Main/JM-JORD1.JAM"));
    EXPECT_EQ(f.importItems({70}), TransferOutcome::DoneWithErrors);
    EXPECT_FALSE(f.graphics().jacks.hard[4]);
    EXPECT_FALSE(f.graphics().jacks.hard[15]);
}

} // namespace

// A background saved from its replacement picture to a place that cannot be
// written says why; it is not a quiet "false".
TEST(MenuBackgroundFiles, ATargetThatCannotBeWrittenThrowsWithTheReason)
{
    Fixture f;
    const std::string work = f.program.directories.working;
    ForceDirectories(work);
    test::WriteBytes(work + MenuReplacementName(3), EncodeBmp(Image(8, 8, 24)));
    test::WriteText(f.root / "file", "a file, not a folder");
    try {
        SaveMenuBackground(work, f.game(kArtBankGamePath), 3, f.root / "file/BG3.BMP", nullptr);
        ADD_FAILURE() << "the save did not fail";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("BG3.BMP"), std::string::npos) << e.what();
    }
}
