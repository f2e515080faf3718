// The track area in the transfer runs: import and export over generated
// installations, a carset from one installation to another, hostile
// carsets, and the failures a user must hear about.

#include "SessionFixture.h"

#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/ArtBankDirectory.h"
#include "formats/ArtBankExpansion.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankGroups.h"
#include "formats/ArtBankPictures.h"
#include "formats/ArtEntryCodec.h"
#include "formats/Bmp.h"
#include "formats/GameLanguages.h"
#include "formats/StringFile.h"
#include "formats/TrackFile.h"
#include "session/Session.h"
#include "tracks/TrackImages.h"
#include "tracks/TrackJams.h"
#include "tracks/TrackSections.h"
#include "tracks/TracksArea.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetHeader.h"
#include "transfer/ReportedFormats.h"
#include "transfer/SavegameChecksum.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <zip.h>

using namespace pitwall;

namespace {

// The game's languages as a small area of their own, standing in for the
// texts area: reads and writes LDATA\<language>.str.
class LanguagesStandIn : public DataArea {
public:
    explicit LanguagesStandIn(GameTexts& texts) : texts_(texts) {}
    std::vector<int> items() const override
    {
        std::vector<int> items;
        for (int l = 0; l < kLanguageCount; ++l)
            items.push_back(LanguageItem(l));
        return items;
    }
    void importFromGame(TransferContext& c) override
    {
        for (int l = 0; l < kLanguageCount; ++l)
            if (c.selected(LanguageItem(l))) {
                std::string file = ResolveGamePath(c.program.settings.gameDirectory, LanguageFileGamePath(l));
                if (ReadStringFile(file, texts_.languages[static_cast<std::size_t>(l)], nullptr))
                    c.markLoaded(LanguageItem(l));
            }
    }
    void exportToGame(TransferContext& c) override
    {
        for (int l = 0; l < kLanguageCount; ++l)
            if (c.selected(LanguageItem(l)))
                c.replaceGameFile(LanguageFileGamePath(l),
                                  BuildStringFile(texts_.languages[static_cast<std::size_t>(l)]));
    }

private:
    GameTexts& texts_;
};

std::vector<int> AllTrackItems() { return TrackItems(); }

// Texts that name their number, over a demo installation, with the stand-in
// for the texts area.
struct Fixture : test::SessionFixture {
    std::unique_ptr<LanguagesStandIn> languages;

    explicit Fixture(int gameVersion = 2, std::uint64_t seed = 1)
        : SessionFixture(gameVersion, seed,
                         {{349, " %s"}, {358, " %d"}, {659, " %d"}, {709, " %d"}, {765, " %d"}, {667, " %s %d"}})
    {
        languages = std::make_unique<LanguagesStandIn>(session->workingSet.gameTexts);
        session->engine.registerArea(AreaId::Texts, *languages);
        session->tracksArea().setImportLanguages([this](TransferContext& c) {
            for (int l = 0; l < LanguagesOfVersion(program.gameVersion); ++l)
                c.transfer.selection[static_cast<std::size_t>(LanguageItem(l))] = 1;
            languages->importFromGame(c);
        });
    }
    TrackTable& tracks() { return session->workingSet.tracks; }
    std::string game(const std::string& relative) const
    {
        return ResolveGamePath(program.settings.gameDirectory, relative);
    }
    void importItems(const std::vector<int>& items)
    {
        select(items);
        ASSERT_EQ(engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui), TransferOutcome::Done)
            << Shown();
    }
    std::string Shown() const
    {
        std::string all;
        for (const auto& m : messages.shown)
            all += m.text + "\n";
        return all;
    }
};

constexpr auto Snapshot = test::ReadFileTree;

std::vector<std::string> Changed(const std::map<std::string, std::vector<std::uint8_t>>& before,
                                 const std::map<std::string, std::vector<std::uint8_t>>& after)
{
    std::vector<std::string> changed;
    for (const auto& [name, bytes] : after) {
        auto it = before.find(name);
        if (it == before.end() || it->second != bytes)
            changed.push_back(name);
    }
    for (const auto& [name, bytes] : before)
        if (!after.count(name))
            changed.push_back(name + " (gone)");
    return changed;
}

ArtPicture Picture(const std::vector<std::uint8_t>& bank, std::size_t entry)
{
    ArtDirectory dir = ParseArtDirectory(bank);
    const ArtEntry& e = dir.entries[entry];
    return DecodeArtEntry(std::span(bank).subspan(e.dataOffset, e.reservedSize), e.width, e.height, false);
}

void WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& members)
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

[[maybe_unused]] std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// --- import and export --------------------------------------------------------

TEST(TracksTransfer, ImportThenExportOfEveryTrackItemChangesNoByte)
{
    for (int version : {1, 2}) {
        Fixture f(version, 1);
        const auto before = Snapshot(f.program.settings.gameDirectory);
        f.importItems(AllTrackItems());
        for (int n : AllTrackItems())
            EXPECT_TRUE(f.transfer().isLoaded(n)) << n;
        for (int l = 0; l < LanguagesOfVersion(version); ++l)
            EXPECT_TRUE(f.transfer().isLoaded(LanguageItem(l)));
        // Names come from the languages' lists.
        EXPECT_EQ(f.tracks().info[13].texts[0][1].text(), "Monza");
        EXPECT_EQ(f.tracks().info[0].fileName.text(), "F1CT01.DAT");
        EXPECT_GT(f.tracks().sections[15].views[3].count, 0);
        f.transfer().selection = f.transfer().loaded;
        ASSERT_EQ(f.engine().exportToGame(ItemChoice::AsSelected, f.ui), TransferOutcome::Done) << f.Shown();
        EXPECT_EQ(Changed(before, Snapshot(f.program.settings.gameDirectory)), std::vector<std::string>{}) << version;
        EXPECT_TRUE(f.engine().lastReport().changes.empty());
        EXPECT_TRUE(f.messages.asked.empty()); // no track file to replace
    }
}

TEST(TracksTransfer, EveryTrackItemTravelsFromOneInstallationToAnother)
{
    Fixture a(2, 1);
    a.importItems(AllTrackItems());
    // Seeds give other values everywhere but in the names: give one its own.
    a.tracks().info[4].texts[0][1] = "Montmelo";
    a.tracks().info[4].texts[6][7] = "Atributo";
    const std::string carset = a.root / "tracks.GMS";
    a.select(AllTrackItems());
    ASSERT_EQ(a.engine().saveCarset(ItemChoice::AsSelected, carset, a.ui), TransferOutcome::Done) << a.Shown();
    {
        CarsetArchive archive(carset, CarsetArchive::Mode::Read);
        EXPECT_TRUE(archive.contains("Track15.DAT"));
        EXPECT_TRUE(archive.contains("TrackReplace1513.BMP"));
        EXPECT_TRUE(archive.contains("GP3JAMS+ALBERT.JAM"));
        EXPECT_FALSE(archive.contains("GP3JAMS+SUZUKAX.JAM")); // not installed
        auto info = archive.read(kTrackJamInfoMember, 100000);
        auto lists = ParseTrackJamInfo(std::string(info.begin(), info.end()));
        EXPECT_EQ(lists.size(), 16u);
        EXPECT_EQ(lists[15].back(), "GP3JAMS\\SUZUKAX.JAM");
    }

    Fixture b(2, 2);
    b.importItems({168, 169, 170, 171, 172, 173, 174, 175});
    // The pictures of another installation need not fit the entries of this
    // one (each entry holds its own picture packed): the track entries are
    // expanded first, as a user would.
    std::vector<bool> flags(kArtEntryCount, false);
    for (std::size_t e = 566; e <= 693; ++e)
        flags[e] = true;
    ArtDirectory expanded;
    ASSERT_TRUE(ExpandArtBank(b.game(kArtBankGamePath), flags, false, expanded, nullptr));
    const auto before = Snapshot(b.program.settings.gameDirectory);
    auto exeB = test::ReadBytes(b.game("GP3.EXE"));
    auto saveB = test::ReadBytes(b.game("F1GSTATE.SAV"));
    auto bankB = test::ReadBytes(b.game(kArtBankGamePath));
    ASSERT_EQ(b.engine().loadCarset(ItemChoice::AllHeld, carset, b.ui), TransferOutcome::Done) << b.Shown();
    EXPECT_EQ(b.tracks().info, a.tracks().info);
    EXPECT_EQ(b.tracks().sections, a.tracks().sections);
    b.transfer().selection = b.transfer().loaded;
    ASSERT_EQ(b.engine().exportToGame(ItemChoice::AsSelected, b.ui), TransferOutcome::Done) << b.Shown();
    ASSERT_EQ(b.messages.asked.size(), 1u); // track files are replaced: once
    EXPECT_EQ(b.messages.asked[0].number, 215);

    const auto after = Snapshot(b.program.settings.gameDirectory);
    auto exeA = test::ReadBytes(a.game("GP3.EXE"));
    auto saveA = test::ReadBytes(a.game("F1GSTATE.SAV"));
    auto bankA = test::ReadBytes(a.game(kArtBankGamePath));
    auto exe = test::ReadBytes(b.game("GP3.EXE"));
    auto save = test::ReadBytes(b.game("F1GSTATE.SAV"));
    auto bank = test::ReadBytes(b.game(kArtBankGamePath));

    // GP3.EXE (v1.13): around each track base the car setup (base - 20, 8),
    // grip (2), fuel (base + 48, 4), strategies (base + 84, 48); the 10-byte
    // records (9 used) at 0x73C948, the second laps at 0x144D2E, the names at
    // 0x83A36D and the labels stream after its first word at 0x84A392; the
    // bumps at base + 160, (position, strength) pairs up to the position
    // 0xFFFF, as A holds them.
    const std::uint32_t bases[16] = {0x143E10, 0x143EE8, 0x144000, 0x144108, 0x144204, 0x1442EC, 0x1443DC, 0x1444C8,
                                     0x1445AC, 0x1446A0, 0x144790, 0x144884, 0x144984, 0x144A78, 0x144B6C, 0x144C4C};
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    for (int t = 0; t < 16; ++t) {
        ranges.push_back({bases[t] - 20, 8});
        ranges.push_back({bases[t], 2});
        ranges.push_back({bases[t] + 48, 4});
        ranges.push_back({bases[t] + 84, 48});
        ranges.push_back({0x73C948 + 10 * static_cast<std::size_t>(t), 9});
        std::size_t bumpBytes = 2;
        while (exeA[bases[t] + 160 + bumpBytes - 2] != 0xFF || exeA[bases[t] + 160 + bumpBytes - 1] != 0xFF)
            bumpBytes += 4;
        ranges.push_back({bases[t] + 160, bumpBytes});
    }
    ranges.push_back({0x144D2E, 16});
    ranges.push_back({0x83A36D, 320});
    ranges.push_back({0x84A392 + 2, 21085});
    auto inside = [&](std::size_t i) {
        for (auto [at, len] : ranges)
            if (i >= at && i < at + len)
                return true;
        return false;
    };
    std::size_t wrong = 0, changedOutside = 0, changedInside = 0;
    for (std::size_t i = 0; i < exe.size(); ++i) {
        if (inside(i)) {
            wrong += exe[i] != exeA[i];
            changedInside += exe[i] != exeB[i];
        } else {
            changedOutside += exe[i] != exeB[i];
        }
    }
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(changedOutside, 0u);
    EXPECT_GT(changedInside, 1000u);
    // F1GSTATE.SAV: 16 x 89 bytes of lap records at 0x6DA, and the checksum.
    EXPECT_TRUE(std::equal(save.begin() + 0x6DA, save.begin() + 0x6DA + 16 * 89, saveA.begin() + 0x6DA));
    EXPECT_EQ(StoredSavegameChecksum(save), ComputeSavegameChecksum(save));
    std::size_t saveOutside = 0;
    for (std::size_t i = 0; i < save.size(); ++i)
        saveOutside += (i < 0x6DA || i >= 0x6DA + 16 * 89) && save[i] != saveB[i];
    EXPECT_LE(saveOutside, 4u);
    // Art bank: the pictures 566..693 are A's; bytes of other entries stay.
    ArtDirectory dir = ParseArtDirectory(bankB);
    for (std::size_t e = 566; e <= 693; ++e)
        EXPECT_EQ(Picture(bank, e), Picture(bankA, e)) << e;
    std::size_t bankOutside = 0;
    for (std::size_t i = 0; i < bank.size(); ++i) {
        bool track = false;
        for (std::size_t e = 566; e <= 693 && !track; ++e)
            track = i >= dir.entries[e].dataOffset && i < dir.entries[e].dataOffset + dir.entries[e].reservedSize;
        bankOutside += !track && bank[i] != bankB[i];
    }
    EXPECT_EQ(bankOutside, 0u);
    // Track files, JAMs and names are A's.
    for (int t = 0; t < 16; ++t) {
        const std::string name = "CIRCUITS\\" + a.tracks().info[static_cast<std::size_t>(t)].fileName.text();
        EXPECT_TRUE(test::ReadBytes(b.game(name)) == test::ReadBytes(a.game(name))) << name;
        for (const std::string& jam : ParseJamList(test::ReadBytes(a.game(name)))) {
            if (FileExists(a.game(jam))) {
                EXPECT_TRUE(test::ReadBytes(b.game(jam)) == test::ReadBytes(a.game(jam))) << jam;
            }
        }
    }
    std::vector<std::string> english;
    ASSERT_TRUE(ReadStringFile(b.game(LanguageFileGamePath(1)), english, nullptr));
    EXPECT_EQ(english[static_cast<std::size_t>(TrackTextNumber(0, 1, 4))], "Montmelo");
    std::vector<std::string> portuguese;
    ASSERT_TRUE(ReadStringFile(b.game(LanguageFileGamePath(7)), portuguese, nullptr));
    EXPECT_EQ(portuguese[static_cast<std::size_t>(TrackTextNumber(6, 7, 4))], "Atributo");
    // Nothing else of B changed.
    for (const std::string& file : Changed(before, after)) {
        const bool expected = file == "GP3.EXE" || file == "F1GSTATE.SAV" || file == "BITMAPS/GP3ART5.BIN"
            || file.rfind("CIRCUITS/F1CT", 0) == 0 || file.rfind("GP3JAMS/", 0) == 0 || file.rfind("LDATA/", 0) == 0;
        EXPECT_TRUE(expected) << file;
    }
}

TEST(TracksTransfer, OlderCarsetFormatFillsTheCountries)
{
    Fixture f;
    f.importItems(AllTrackItems());
    TrackInfo info = f.tracks().info[2];
    auto image = TrackInfoImage(info);
    std::vector<std::uint8_t> old;
    old.insert(old.end(), image.begin(), image.begin() + 98 + 240 * 2);      // records .. country 1
    old.insert(old.end(), image.begin() + 1538, image.begin() + 1538 + 240); // attribute
    old.insert(old.end(), image.begin() + 1778, image.begin() + 1778 + 20 + 2 + 48 + 4 + 8 + 4 + 2 + 1);
    ASSERT_EQ(old.size(), 907u);
    old[338] = 'Q'; // country 1 of DEUTSCH
    CarsetHeader h;
    h.format = 7;
    h.items[TrackInfoItem(2)] = 1;
    const std::string carset = f.root / "old.GMS";
    WriteZip(carset, {{"Header.DAT", CarsetHeaderImage(h)}, {"TrackInfo2.DAT", old}});
    ASSERT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, carset, f.ui), TransferOutcome::Done) << f.Shown();
    for (int k = 1; k <= 5; ++k)
        for (int l = 0; l < 8; ++l)
            EXPECT_EQ(f.tracks().info[2].texts[static_cast<std::size_t>(k)][static_cast<std::size_t>(l)],
                      f.tracks().info[2].texts[1][static_cast<std::size_t>(l)]);
    EXPECT_EQ(f.tracks().info[2].texts[5][0].text()[0], 'Q');
    EXPECT_EQ(f.tracks().info[2].bumps, info.bumps);
}

// An older carset carries no bumps. Loaded into a session that never imported
// the slot and exported, it must leave the game's bump table alone (it used to
// write a single blank bump over it).
TEST(TracksTransfer, OlderCarsetLeavesTheGamesBumpsAlone)
{
    Fixture source;
    source.importItems(AllTrackItems());
    auto image = TrackInfoImage(source.tracks().info[2]);
    std::vector<std::uint8_t> old;
    old.insert(old.end(), image.begin(), image.begin() + 98 + 240 * 2);
    old.insert(old.end(), image.begin() + 1538, image.begin() + 1538 + 240);
    old.insert(old.end(), image.begin() + 1778, image.begin() + 1778 + 20 + 2 + 48 + 4 + 8 + 4 + 2 + 1);
    CarsetHeader h;
    h.format = 7;
    h.items[TrackInfoItem(2)] = 1;
    const std::string carset = source.root / "old.GMS";
    WriteZip(carset, {{"Header.DAT", CarsetHeaderImage(h)}, {"TrackInfo2.DAT", old}});

    Fixture target(2, 5);
    const std::string exe = target.game("GP3.EXE");
    const std::vector<std::uint8_t> before = test::ReadBytes(exe);
    ASSERT_EQ(target.engine().loadCarset(ItemChoice::AllHeld, carset, target.ui), TransferOutcome::Done)
        << target.Shown();
    target.select({TrackInfoItem(2)});
    ASSERT_EQ(target.engine().exportToGame(ItemChoice::AsSelected, target.ui), TransferOutcome::Done) << target.Shown();
    const std::vector<std::uint8_t> after = test::ReadBytes(exe);
    // v1.13, slot 2: track base 0x144000, its bump table from base + 160 up
    // to the next slot's base.
    constexpr std::size_t kBumps = 0x144000 + 160, kNextBase = 0x144108;
    EXPECT_TRUE(std::equal(before.begin() + kBumps, before.begin() + kNextBase, after.begin() + kBumps));
    // The carset's own fields did go in: the grip word at the base.
    EXPECT_NE(before[0x144000] | before[0x144001] << 8, image[1798] | image[1799] << 8);
    EXPECT_EQ(after[0x144000] | after[0x144001] << 8, image[1798] | image[1799] << 8);
}

// --- hostile carsets -------------------------------------------------------------

TEST(TracksTransfer, HostileNamesAndJamPathsAreRefusedAndNothingIsWrittenOutside)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    Fixture f;
    f.importItems(AllTrackItems());
    const std::string outside = f.root / "outside/";
    ForceDirectories(outside);
    std::filesystem::create_directory_symlink(outside, f.program.settings.gameDirectory + "GP3JAMS/LINK");
    const auto before = Snapshot(f.program.settings.gameDirectory);
    const auto trackOne = test::ReadBytes(f.game("CIRCUITS\\F1CT01.DAT"));

    TrackInfo evil = f.tracks().info[0];
    evil.fileName = "..\\EVIL.DAT";
    TrackInfo tooLong = f.tracks().info[1];
    tooLong.fileName = "TWELVECHARS1";
    TrackInfo fine = f.tracks().info[2];
    fine.grip = 4321;
    CarsetHeader h;
    for (int n : {TrackFileItem(0), TrackInfoItem(0), TrackInfoItem(1), TrackInfoItem(2), kTrackJamsItem})
        h.items[static_cast<std::size_t>(n)] = 1;
    const std::string jamInfo = "[Track0]\r\nNumJAMs=6\r\nJAM0=..+..+x.JAM\r\nJAM1=+tmp+abs.JAM\r\n"
                                "JAM2=GP3JAMS+..+..+y.JAM\r\nJAM3=GP3JAMS+LINK+z.JAM\r\nJAM4=C:+w.JAM\r\n"
                                "JAM5=GP3JAMS+GOOD.JAM\r\n";
    const std::string carset = f.root / "evil.GMS";
    WriteZip(carset,
             {{"Header.DAT", CarsetHeaderImage(h)},
              {"Track0.DAT", Bytes("not a track")},
              {"TrackInfo0.DAT", TrackInfoImage(evil)},
              {"TrackInfo1.DAT", TrackInfoImage(tooLong)},
              {"TrackInfo2.DAT", TrackInfoImage(fine)},
              {kTrackJamInfoMember, Bytes(jamInfo)},
              {"..+..+x.JAM", Bytes("x")},
              {"+tmp+abs.JAM", Bytes("abs")},
              {"GP3JAMS+..+..+y.JAM", Bytes("y")},
              {"GP3JAMS+LINK+z.JAM", Bytes("z")},
              {"C:+w.JAM", Bytes("w")},
              {"GP3JAMS+GOOD.JAM", Bytes("good")}});
    EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, carset, f.ui), TransferOutcome::DoneWithErrors);
    const std::string shown = f.Shown();
    EXPECT_NE(shown.find("TrackInfo0.DAT"), std::string::npos) << shown;
    EXPECT_NE(shown.find("TrackInfo1.DAT"), std::string::npos) << shown;
    EXPECT_NE(shown.find("..+..+x.JAM"), std::string::npos) << shown;
    EXPECT_NE(shown.find("+tmp+abs.JAM"), std::string::npos) << shown;
    EXPECT_NE(shown.find("GP3JAMS+..+..+y.JAM"), std::string::npos) << shown;
    EXPECT_NE(shown.find("C:+w.JAM"), std::string::npos) << shown;
    EXPECT_FALSE(f.transfer().isLoaded(TrackFileItem(0))); // its name was refused
    EXPECT_EQ(f.tracks().info[0].fileName.text(), "F1CT01.DAT");
    EXPECT_EQ(f.tracks().info[2].grip, 4321);

    f.messages.shown.clear();
    f.transfer().selection = f.transfer().loaded;
    EXPECT_EQ(f.engine().exportToGame(ItemChoice::AsSelected, f.ui), TransferOutcome::DoneWithErrors);
    EXPECT_NE(f.Shown().find("LINK"), std::string::npos) << f.Shown();
    EXPECT_TRUE(std::filesystem::is_empty(outside));
    EXPECT_FALSE(FileExists(f.root / "x.JAM"));
    EXPECT_FALSE(FileExists(f.root / "y.JAM"));
    EXPECT_FALSE(FileExists("/tmp/abs.JAM"));
    EXPECT_EQ(test::ReadBytes(f.game("CIRCUITS\\F1CT01.DAT")), trackOne);
    EXPECT_EQ(test::ReadText(f.game("GP3JAMS\\GOOD.JAM")), "good");
    std::vector<std::string> expected = {"GP3.EXE", "GP3JAMS/GOOD.JAM"};
    auto changed = Changed(before, Snapshot(f.program.settings.gameDirectory));
    std::sort(changed.begin(), changed.end());
    EXPECT_EQ(changed, expected);
#endif
}

// --- failures the user hears about ---------------------------------------------

TEST(TracksTransfer, MissingTrackFileAndOverlongLabels)
{
    Fixture f;
    f.importItems(AllTrackItems());
    DeleteFileForced(f.game("CIRCUITS\\F1CT04.DAT"));
    const std::string carset = f.root / "c.GMS";
    f.select({TrackFileItem(3), TrackFileItem(4), TrackInfoItem(3)});
    EXPECT_EQ(f.engine().saveCarset(ItemChoice::AsSelected, carset, f.ui), TransferOutcome::DoneWithErrors);
    ASSERT_EQ(f.messages.numbers(), std::vector<int>{667});
    EXPECT_NE(f.messages.shown[0].text.find("F1CT04.DAT 4"), std::string::npos) << f.messages.shown[0].text;
    {
        CarsetArchive archive(carset, CarsetArchive::Mode::Read);
        EXPECT_FALSE(archive.contains("Track3.DAT"));
        EXPECT_TRUE(archive.contains("Track4.DAT"));
        auto header = ParseCarsetHeader(archive.read("Header.DAT", 1000));
        ASSERT_TRUE(header);
        EXPECT_EQ(header->items[TrackFileItem(3)], 0);
        EXPECT_EQ(header->items[TrackFileItem(4)], 1);
        EXPECT_EQ(header->items[TrackInfoItem(3)], 1);
    }

    f.messages.shown.clear();
    auto exeBefore = test::ReadBytes(f.game("GP3.EXE"));
    f.tracks().sections[2].views[1].budget = 1; // labels longer than the room
    f.tracks().sections[5].views[0].sections[0].label = "S";
    f.select({TrackSectionsItem(2), TrackSectionsItem(5)});
    EXPECT_EQ(f.engine().exportToGame(ItemChoice::AsSelected, f.ui), TransferOutcome::DoneWithErrors);
    EXPECT_EQ(f.messages.numbers(), std::vector<int>{765});
    EXPECT_EQ(f.messages.shown[0].text, "T765 3");
    auto exe = test::ReadBytes(f.game("GP3.EXE"));
    const std::size_t slot2 = 0x84A392 + SectionsSlotOffset(2), slot5 = 0x84A392 + SectionsSlotOffset(5);
    EXPECT_TRUE(std::equal(exe.begin() + slot2, exe.begin() + slot2 + 1560, exeBefore.begin() + slot2));
    EXPECT_FALSE(std::equal(exe.begin() + slot5, exe.begin() + slot5 + 1156, exeBefore.begin() + slot5));
}

// The JAM item brings the textures of the track files taken, not those of
// every slot the carset lists.
TEST(TracksTransfer, OnlyTheJamsOfTheTrackFilesTakenAreLoaded)
{
    Fixture a(2, 1);
    a.importItems(AllTrackItems());
    const std::string carset = a.root / "tracks.GMS";
    a.select(AllTrackItems());
    ASSERT_EQ(a.engine().saveCarset(ItemChoice::AsSelected, carset, a.ui), TransferOutcome::Done) << a.Shown();
    TrackJamLists lists;
    {
        CarsetArchive archive(carset, CarsetArchive::Mode::Read);
        auto info = archive.read(kTrackJamInfoMember, 100000);
        lists = ParseTrackJamInfo(std::string(info.begin(), info.end()));
    }

    Fixture b(2, 2);
    b.select({TrackFileItem(0), TrackInfoItem(0), kTrackJamsItem});
    ASSERT_EQ(b.engine().loadCarset(ItemChoice::AsSelected, carset, b.ui), TransferOutcome::Done) << b.Shown();
    ASSERT_FALSE(b.tracks().carsetJams.empty());
    for (const auto& [path, bytes] : b.tracks().carsetJams)
        EXPECT_NE(std::find(lists[0].begin(), lists[0].end(), path), lists[0].end()) << path;
}

// A save that breaks off on one track file stores no later item of the
// tracks, and its header lists none of them.
TEST(TracksTransfer, ASaveThatBreaksOffListsOnlyWhatItStored)
{
    Fixture f;
    f.importItems(AllTrackItems());
    std::filesystem::resize_file(NativePath(ResolveGamePath(f.program.settings.gameDirectory, "CIRCUITS\\F1CT05.DAT")),
                                 kMaxTrackFileBytes + 1);
    const std::string carset = f.root / "c.GMS";
    f.select({TrackFileItem(3), TrackFileItem(4), TrackInfoItem(3), TrackInfoItem(4)});
    EXPECT_EQ(f.engine().saveCarset(ItemChoice::AsSelected, carset, f.ui), TransferOutcome::DoneWithErrors);
    CarsetArchive archive(carset, CarsetArchive::Mode::Read);
    auto header = ParseCarsetHeader(archive.read("Header.DAT", 1000));
    ASSERT_TRUE(header);
    EXPECT_TRUE(archive.contains("Track3.DAT"));
    EXPECT_EQ(header->items[TrackFileItem(3)], 1);
    for (int item : {TrackFileItem(4), TrackInfoItem(3), TrackInfoItem(4)})
        EXPECT_EQ(header->items[static_cast<std::size_t>(item)], 0) << item;
    EXPECT_FALSE(archive.contains("TrackInfo3.DAT"));

    // Over an earlier carset, the incomplete one is not written: the earlier
    // one keeps every item it held, and the run says so.
    const std::string earlier = f.root / "earlier.GMS";
    test::WriteBytes(earlier, test::ReadBytes(carset));
    const auto earlierBytes = test::ReadBytes(earlier);
    f.messages.shown.clear();
    EXPECT_EQ(f.engine().saveCarset(ItemChoice::AsSelected, earlier, f.ui), TransferOutcome::Refused);
    EXPECT_EQ(test::ReadBytes(earlier), earlierBytes);
    EXPECT_EQ(f.messages.numbers().back(), 1305) << f.Shown();
}

// A corner off the track map, written into the game's stream, could read as
// a group separator and break the slot apart: such a record is refused and
// the slot keeps its labels and pictures.
TEST(TracksTransfer, CarsetSectionsOffTheMapAreRefused)
{
    Fixture f;
    f.importItems({TrackSectionsItem(1)});
    const TrackSecInfo before = f.tracks().sections[1];
    ASSERT_GT(before.views[0].count, 0);
    auto image = TrackSecInfoImage(before);
    image[4 + 32] = 0xFF; // view 1, section 1: X1 = 0xFFFF
    image[4 + 33] = 0xFF;
    CarsetHeader h;
    h.format = kCarsetFormat;
    h.items[TrackSectionsItem(1)] = 1;
    const std::string carset = f.root / "off.GMS";
    WriteZip(carset,
             {{"Header.DAT", CarsetHeaderImage(h)},
              {"TrackSecInfo1.DAT", image},
              {"TrackReplace100.BMP", EncodeBmp(Image(498, 359, 24))}});
    EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, carset, f.ui), TransferOutcome::DoneWithErrors);
    EXPECT_NE(f.Shown().find("view 1, section 1 lies outside the track map"), std::string::npos) << f.Shown();
    EXPECT_TRUE(f.tracks().sections[1] == before);
    EXPECT_FALSE(FileExists(f.program.directories.working + "TrackReplace100.BMP"));

    // On the map's edge it is taken.
    image[4 + 32] = 0x20;
    image[4 + 33] = 0x03; // X1 = 800
    WriteZip(carset, {{"Header.DAT", CarsetHeaderImage(h)}, {"TrackSecInfo1.DAT", image}});
    f.messages.shown.clear();
    EXPECT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, carset, f.ui), TransferOutcome::Done) << f.Shown();
    EXPECT_EQ(f.tracks().sections[1].views[0].sections[0].x1, 800);
}

TEST(TracksTransfer, TrackFilesAloneAreSavedUnderTheNamesOfTheirSlots)
{
    Fixture f;
    std::vector<int> files;
    for (int t = 0; t < kTrackCount; ++t)
        files.push_back(TrackFileItem(t));
    f.importItems(files);
    EXPECT_FALSE(f.transfer().isLoaded(TrackInfoItem(0)));
    const std::string carset = f.root / "files.GMS";
    EXPECT_EQ(f.engine().saveCarset(ItemChoice::AsSelected, carset, f.ui), TransferOutcome::Done);
    EXPECT_TRUE(f.messages.shown.empty());
    CarsetArchive archive(carset, CarsetArchive::Mode::Read);
    EXPECT_EQ(archive.read("Track3.DAT", 1 << 24), test::ReadBytes(f.game("CIRCUITS\\F1CT04.DAT")));
    EXPECT_TRUE(archive.contains("Track15.DAT"));
}

TEST(TracksTransfer, DecliningTheWarningCopiesNoTrackFileAndWritesNoName)
{
    Fixture a(2, 1), b(2, 2);
    a.importItems(AllTrackItems());
    CopyFileForced(a.game("CIRCUITS\\F1CT01.DAT"), a.program.settings.gameDirectory + "CIRCUITS/NEWTRACK");
    a.tracks().info[0].fileName = "NEWTRACK";
    const std::string carset = a.root / "t.GMS";
    a.select({TrackFileItem(0), TrackInfoItem(0)});
    ASSERT_EQ(a.engine().saveCarset(ItemChoice::AsSelected, carset, a.ui), TransferOutcome::Done) << a.Shown();
    ASSERT_EQ(b.engine().loadCarset(ItemChoice::AllHeld, carset, b.ui), TransferOutcome::Done) << b.Shown();
    b.messages.answer = false;
    b.transfer().selection = b.transfer().loaded;
    ASSERT_EQ(b.engine().exportToGame(ItemChoice::AsSelected, b.ui), TransferOutcome::Done) << b.Shown();
    EXPECT_FALSE(FileExists(b.game("CIRCUITS\\NEWTRACK")));
    auto exe = test::ReadBytes(b.game("GP3.EXE"));
    EXPECT_EQ(std::string(exe.begin() + 0x83A36D, exe.begin() + 0x83A36D + 19), "CIRCUITS\\F1CT01.DAT");
    // The other information still went in.
    EXPECT_EQ(exe[0x144D2E], a.tracks().info[0].laps);

    b.messages.answer = true;
    b.transfer().selection = b.transfer().loaded;
    ASSERT_EQ(b.engine().exportToGame(ItemChoice::AsSelected, b.ui), TransferOutcome::Done) << b.Shown();
    EXPECT_TRUE(FileExists(b.game("CIRCUITS\\NEWTRACK")));
    exe = test::ReadBytes(b.game("GP3.EXE"));
    EXPECT_EQ(std::string(exe.begin() + 0x83A36D, exe.begin() + 0x83A36D + 20),
              std::string("CIRCUITS\\NEWTRACK   ").substr(0, 19) + '\0');
}

// Track pictures need room in the art bank as team art does: before anything
// is written the export asks once (659) to enlarge the entries that lack it;
// No writes nothing, Yes writes all eight. A slot whose pictures cannot all
// be written keeps its sections and every picture as they were.
TEST(TracksTransfer, ASlotsSectionsAndPicturesAreWrittenWholeOrNotAtAll)
{
    Fixture a(2, 1), b(2, 2);
    a.importItems({TrackSectionsItem(0)});
    const std::string carset = a.root / "pictures.GMS";
    a.select({TrackSectionsItem(0)});
    ASSERT_EQ(a.engine().saveCarset(ItemChoice::AsSelected, carset, a.ui), TransferOutcome::Done) << a.Shown();
    ASSERT_EQ(b.engine().loadCarset(ItemChoice::AllHeld, carset, b.ui), TransferOutcome::Done) << b.Shown();

    const auto exeBefore = test::ReadBytes(b.game("GP3.EXE"));
    const auto bankBefore = test::ReadBytes(b.game(kArtBankGamePath));
    b.messages.answer = false;
    b.transfer().selection = b.transfer().loaded;
    EXPECT_EQ(b.engine().exportToGame(ItemChoice::AsSelected, b.ui), TransferOutcome::Cancelled);
    ASSERT_EQ(b.messages.asked.size(), 1u);
    EXPECT_EQ(b.messages.asked[0].number, 659);
    EXPECT_TRUE(test::ReadBytes(b.game("GP3.EXE")) == exeBefore);
    EXPECT_TRUE(test::ReadBytes(b.game(kArtBankGamePath)) == bankBefore);

    b.messages.answer = true;
    b.transfer().selection = b.transfer().loaded;
    ASSERT_EQ(b.engine().exportToGame(ItemChoice::AsSelected, b.ui), TransferOutcome::Done) << b.Shown();
    const auto bankA = test::ReadBytes(a.game(kArtBankGamePath));
    const auto bank = test::ReadBytes(b.game(kArtBankGamePath));
    for (std::size_t e : TrackPictureEntryList(0))
        EXPECT_TRUE(Picture(bank, e) == Picture(bankA, e)) << e;
    const std::size_t slot0 = 0x84A392 + SectionsSlotOffset(0);
    const auto exeWhole = test::ReadBytes(b.game("GP3.EXE"));
    EXPECT_FALSE(std::equal(exeWhole.begin() + slot0, exeWhole.begin() + slot0 + 1000, exeBefore.begin() + slot0));

    // The same again: every picture is what its entry shows, so none is
    // encoded or written again and the bank stays byte for byte.
    b.messages.asked.clear();
    b.transfer().selection = b.transfer().loaded;
    EXPECT_NE(b.engine().exportToGame(ItemChoice::AsSelected, b.ui), TransferOutcome::DoneWithErrors) << b.Shown();
    EXPECT_TRUE(b.messages.asked.empty());
    EXPECT_TRUE(test::ReadBytes(b.game(kArtBankGamePath)) == bank);

    // New labels, a new small picture and a full-screen picture of the
    // wrong size: nothing of the slot is written.
    b.tracks().sections[0].views[0].sections[0].label = "S";
    test::WriteBytes(b.program.directories.working + "TrackReplace000.BMP", EncodeBmp(Image(498, 359, 24, 0x00FF00)));
    test::WriteBytes(b.program.directories.working + "TrackReplace013.BMP", EncodeBmp(Image(200, 100, 24)));
    b.messages.asked.clear();
    b.messages.shown.clear();
    b.transfer().selection = b.transfer().loaded;
    EXPECT_EQ(b.engine().exportToGame(ItemChoice::AsSelected, b.ui), TransferOutcome::DoneWithErrors);
    EXPECT_TRUE(b.messages.asked.empty()); // every entry has room now
    EXPECT_TRUE(test::ReadBytes(b.game("GP3.EXE")) == exeWhole);
    EXPECT_TRUE(test::ReadBytes(b.game(kArtBankGamePath)) == bank);
    EXPECT_NE(b.Shown().find("TrackReplace013.BMP: it measures 200 x 100"), std::string::npos) << b.Shown();

    // Without the picture of the wrong size: the one new picture among
    // pictures the game shows changes its entry alone.
    std::filesystem::remove(b.program.directories.working + "TrackReplace013.BMP");
    b.messages.shown.clear();
    b.transfer().selection = b.transfer().loaded;
    ASSERT_EQ(b.engine().exportToGame(ItemChoice::AsSelected, b.ui), TransferOutcome::Done) << b.Shown();
    const auto bankAfter = test::ReadBytes(b.game(kArtBankGamePath));
    const std::size_t green = TrackPictureEntry(0, 0, 0);
    EXPECT_TRUE(Picture(bankAfter, green) == ArtPictureFromImage(Image(498, 359, 24, 0x00FF00)));
    for (std::size_t e : TrackPictureEntryList(0))
        EXPECT_TRUE(e == green || Picture(bankAfter, e) == Picture(bank, e)) << e;
    EXPECT_EQ(bankAfter.size(), bank.size());
}

// The program's own expansion takes the bank past 64 MB (100,034,753 bytes
// after the pictures of an export were expanded); track pictures are still
// saved from it. Only a file larger than any bank the program reads is
// refused, with a message, before it is read.
TEST(TracksTransfer, PicturesAreSavedFromABankTheExpansionMadeLarge)
{
    Fixture f;
    f.importItems({TrackSectionsItem(0)});
    const std::string bank = f.game(kArtBankGamePath);
    std::filesystem::resize_file(bank, 100'034'753); // room after the last entry
    const std::string carset = f.root / "large.GMS";
    f.select({TrackSectionsItem(0)});
    ASSERT_EQ(f.engine().saveCarset(ItemChoice::AsSelected, carset, f.ui), TransferOutcome::Done) << f.Shown();
    {
        CarsetArchive archive(carset, CarsetArchive::Mode::Read);
        EXPECT_TRUE(archive.contains("TrackReplace000.BMP"));
        EXPECT_TRUE(archive.contains("TrackReplace013.BMP"));
    }

    std::filesystem::resize_file(bank, kMaxArtBankBytes + 1);
    f.select({TrackSectionsItem(0)});
    EXPECT_EQ(f.engine().saveCarset(ItemChoice::AsSelected, f.root / "huge.GMS", f.ui),
              TransferOutcome::DoneWithErrors);
    EXPECT_NE(f.Shown().find("too large"), std::string::npos) << f.Shown();
}

} // namespace
