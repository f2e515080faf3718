#include "SessionFixture.h"

#include "base/FileUtils.h"
#include "session/Session.h"
#include "settings/SettingsGameFiles.h"
#include "settings/SettingsValues.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetHeader.h"
#include "transfer/GameFile.h"
#include "transfer/SavegameChecksum.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <zip.h>

using namespace pitwall;

namespace {

// Texts that name their number, over a demo installation.
struct Fixture : test::SessionFixture {
    explicit Fixture(int gameVersion = 2, std::uint64_t seed = 1) : SessionFixture(gameVersion, seed, {{349, " %s"}}) {}
    GameSettings& settings() { return session->workingSet.settings; }
};

const std::initializer_list<int> kAllSettings = {2, 3, 4, 103, 119, 120};

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

double F64(const std::vector<std::uint8_t>& b, std::size_t at)
{
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | b.at(at + static_cast<std::size_t>(i));
    return std::bit_cast<double>(bits);
}

// The bytes of GP3.EXE v1.13 the six areas own, written out here rather
// than taken from the code under test.
std::vector<std::pair<std::size_t, std::size_t>> V113SettingsRanges()
{
    std::vector<std::pair<std::size_t, std::size_t>> r = {{0x73C9EA, 22}, {0x7240DC, 10}, {0xFFF7F, 2},   {0x37F1D, 2},
                                                          {0x380DF, 2},   {0x807B6, 1},   {0x37F2B, 2},   {0x37F32, 2},
                                                          {0x1308D8, 2},  {0x12F278, 40}, {0x14006E, 4},  {0x14011D, 1},
                                                          {0x140061, 1},  {0x530308, 16}, {0x79FB36, 180}};
    std::size_t at = 0x140EE5;
    for (int step : {4, 4, 4, 4, 3, 4, 4, 4, 5, 4, 4, 3, 4, 4, 4, 4, 4, 4, 4, 5, 4, 4}) {
        r.push_back({at, 2});
        at += static_cast<std::size_t>(step);
    }
    return r;
}

bool Inside(const std::vector<std::pair<std::size_t, std::size_t>>& ranges, std::size_t i)
{
    for (auto [at, len] : ranges)
        if (i >= at && i < at + len)
            return true;
    return false;
}

void WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& members)
{
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr);
    for (const auto& [name, bytes] : members) {
        auto* copy = static_cast<std::uint8_t*>(std::malloc(bytes.size() ? bytes.size() : 1));
        if (!bytes.empty())
            std::memcpy(copy, bytes.data(), bytes.size());
        zip_source_t* src = zip_source_buffer(z, copy, bytes.size(), 1);
        zip_int64_t i = zip_file_add(z, name.c_str(), src, ZIP_FL_OVERWRITE);
        ASSERT_GE(i, 0) << name;
        zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0);
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

} // namespace

// --- values as the game stores them ---------------------------------------

TEST(SettingsValues, PitSpeedWord)
{
    EXPECT_EQ(PitSpeedWord(0), 392);
    EXPECT_EQ(PitSpeedWord(200), 65192);
    EXPECT_EQ(PitSpeedWord(201), 65516); // the last speed the word can hold
    EXPECT_EQ(PitSpeedWord(202), std::nullopt);
    EXPECT_EQ(PitSpeedWord(-1), std::nullopt);
    EXPECT_EQ(PitSpeedFromWord(392), 0);
    EXPECT_EQ(PitSpeedFromWord(65192), 200);
    EXPECT_EQ(PitSpeedFromWord(392 + 324 * 60 + 323), 60); // between two steps: the lower
    EXPECT_EQ(PitSpeedFromWord(0), 0);                     // below 392: never negative
    EXPECT_EQ(PitSpeedFromWord(391), 0);
}

TEST(SettingsValues, AnglesAidsPresetsAndWeight)
{
    EXPECT_EQ(static_cast<std::uint16_t>(AngleWord(-180)), 0x8008);
    EXPECT_EQ(AngleDegrees(AngleWord(-180)), -180);
    EXPECT_EQ(AngleWord(90), 16380);
    EXPECT_EQ(AngleDegrees(16380), 90);
    EXPECT_EQ(AngleDegrees(AngleWord(180)), 180);
    EXPECT_EQ(AngleDegrees(-1), 0); // truncated toward zero, as the game's division

    EXPECT_EQ(AidMask({}), 0x0040);
    AidSwitches all;
    all.fill(true);
    EXPECT_EQ(AidMask(all), 0x037F);
    AidSwitches some{};
    some[0] = some[1] = some[4] = true; // F1, F2, F5
    EXPECT_EQ(AidMask(some), 0x0143);
    EXPECT_EQ(AidSwitchesOf(0x0143), some);
    EXPECT_EQ(AidSwitchesOf(0xFC80), AidSwitches{}); // bits that are no aid are none

    PointsTable forAll = PresetPoints(PointsPreset::PointsForAll);
    EXPECT_EQ(forAll.points[0], 22);
    EXPECT_EQ(forAll.points[21], 1);
    EXPECT_EQ(forAll.points[9], 13);
    PointsTable cart = PresetPoints(PointsPreset::Cart);
    EXPECT_EQ(cart.points[0], 20);
    EXPECT_EQ(cart.points[11], 1);
    EXPECT_EQ(cart.points[12], 0);
    EXPECT_EQ(PresetPoints(PointsPreset::Formula1Old).points[0], 9);
    EXPECT_EQ(PresetPoints(PointsPreset::Formula1).points[5], 1);
    EXPECT_EQ(PresetPoints(PointsPreset::Formula1).points[6], 0);

    EXPECT_EQ(WeightForEditor(1000.0), 1000);
    EXPECT_EQ(WeightForEditor(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(WeightForEditor(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(WeightForEditor(-1.0), 0);
    EXPECT_EQ(WeightForEditor(2000.5), 0);
}

TEST(SettingsValues, RecordImagesHaveTheirSizesAndComeBack)
{
    GameSettings s;
    for (int i = 0; i < kFinishingPositions; ++i)
        s.points.points[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7 + 1);
    s.aids.masks = {0x037F, 0x0341, 0x0140, 0x0042, 0x0040};
    s.misc = {7, 1, 0, 1, 1234, 987, 75, {1, 2, 3, 4}, 601.5};
    s.damage.wallRobustness = 0xBEEF;
    s.damage.carBounce = 9;
    s.damage.parts[21] = 0x1234;
    s.display.views = {-1, 8000, 0x7FFFFFFF, 6000};
    s.cameras.cameras[8].words[CameraRecord::Unknown2] = -2;

    auto misc = RecordImage(s.misc);
    ASSERT_EQ(misc.size(), kMiscRecordSize);
    EXPECT_EQ(misc[0], 7);
    EXPECT_EQ(U16(misc, 4), 1234);
    EXPECT_EQ(misc[8], 75);
    EXPECT_EQ(misc[13], 2);
    EXPECT_EQ(F64(misc, 16), 601.5);
    auto damage = RecordImage(s.damage);
    ASSERT_EQ(damage.size(), kDamageRecordSize);
    EXPECT_EQ(damage[5], 9);
    EXPECT_EQ(U16(damage, 48), 0x1234);
    EXPECT_EQ(RecordImage(s.points).size(), kPointsRecordSize);
    EXPECT_EQ(RecordImage(s.aids).size(), kAidsRecordSize);
    EXPECT_EQ(RecordImage(s.display).size(), kDisplayRecordSize);
    auto cameras = RecordImage(s.cameras);
    ASSERT_EQ(cameras.size(), kCamerasRecordSize);
    EXPECT_EQ(U16(cameras, 178), 0xFFFE);

    GameSettings back;
    RecordFromImage(RecordImage(s.points), back.points);
    RecordFromImage(RecordImage(s.aids), back.aids);
    RecordFromImage(misc, back.misc);
    RecordFromImage(damage, back.damage);
    RecordFromImage(RecordImage(s.display), back.display);
    RecordFromImage(cameras, back.cameras);
    EXPECT_EQ(back.points, s.points);
    EXPECT_EQ(back.aids, s.aids);
    EXPECT_EQ(back.misc, s.misc);
    EXPECT_EQ(back.damage, s.damage);
    EXPECT_EQ(back.display, s.display);
    EXPECT_EQ(back.cameras, s.cameras);
    // A short image is an error and leaves the record alone.
    misc.pop_back();
    EXPECT_THROW(RecordFromImage(misc, back.misc), FormatError);
    EXPECT_EQ(back.misc, s.misc);
}

// --- the game files ---------------------------------------------------------

class SettingsGame : public ::testing::TestWithParam<int> {};

TEST_P(SettingsGame, ImportReadsTheGeneratorsValuesAndExportChangesNothing)
{
    const int version = GetParam();
    Fixture f(version, 3);
    const bool v1 = version == 1;
    const auto exe = test::ReadBytes(f.exe());
    const auto save = test::ReadBytes(f.save());
    f.select(kAllSettings);
    ASSERT_EQ(f.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, f.ui), TransferOutcome::Done);
    for (int item : kAllSettings)
        EXPECT_TRUE(f.transfer().isLoaded(item)) << item;
    EXPECT_FALSE(f.transfer().isLoaded(1));
    EXPECT_EQ(f.loading.lines, (std::vector<std::string>{"T222", "T223", "T224", "T225", "T337", "T397"}));

    const GameSettings& s = f.settings();
    EXPECT_EQ(s.points.points[0], exe[v1 ? 0x73B456 : 0x73C9EA]);
    EXPECT_GT(s.points.points[0], s.points.points[1]);
    EXPECT_EQ(s.aids.masks[4], U16(exe, v1 ? 0x722C20 : 0x7240E4));
    EXPECT_EQ(s.misc.quickRaceLaps, save[v1 ? 0x614 : 0x6D8]);
    EXPECT_EQ(s.misc.pitSpeedMph, (U16(exe, v1 ? 0x12F8D8 : 0x1308D8) - 392) / 324);
    EXPECT_GE(s.misc.pitSpeedMph, 40);
    EXPECT_EQ(s.misc.playerRace, U16(exe, v1 ? 0x36C7B : 0x37F32));
    EXPECT_EQ(s.misc.weight, F64(exe, v1 ? 0x12E278 + 32 : 0x12F278 + 32));
    EXPECT_EQ(s.misc.keepTrackRecords, U16(exe, v1 ? 0xFE303 : 0xFFF7F) == 0x9090);
    EXPECT_EQ(s.misc.showComputerFuel, exe[v1 ? 0x7F39E : 0x807B6] == 0xEB);
    EXPECT_EQ(s.damage.carBounce, exe[v1 ? 0x13EE01 : 0x140061]);
    EXPECT_EQ(s.damage.carRobustness, U16(exe, v1 ? 0x13EE10 : 0x140070));
    // The last part: 21 steps on, 84 bytes past the first.
    EXPECT_EQ(s.damage.parts[21], U16(exe, v1 ? 0x13FC79 + 84 : 0x140EE5 + 84));
    EXPECT_EQ(s.damage.parts[9], U16(exe, v1 ? 0x13FC79 + 36 : 0x140EE5 + 36));
    EXPECT_EQ(s.display.views[3], static_cast<std::int32_t>(U16(exe, v1 ? 0x52EF74 : 0x530314)));
    EXPECT_EQ(static_cast<std::uint16_t>(s.cameras.cameras[8].words[CameraRecord::Direction]),
              U16(exe, (v1 ? 0x79E59E : 0x79FB36) + 8 * 20 + 6));

    f.select(kAllSettings);
    ASSERT_EQ(f.engine().exportToGame(ItemChoice::AsSelected, f.ui), TransferOutcome::Done);
    EXPECT_TRUE(test::ReadBytes(f.exe()) == exe);
    EXPECT_TRUE(test::ReadBytes(f.save()) == save);
    EXPECT_TRUE(f.engine().lastReport().changes.empty());
}

INSTANTIATE_TEST_SUITE_P(Settings, SettingsGame, ::testing::Values(1, 2, 3),
                         [](const auto& info) { return "Version" + std::to_string(info.param); });

TEST(SettingsGameEncoding, SwitchWordsWeightAndPitSpeedAsTheGameWantsThem)
{
    Fixture f(2, 1);
    // A keep-records word other than 0x9090 is off; the performance reads as
    // the chosen team's only when both words say so.
    auto exe = test::ReadBytes(f.exe());
    exe[0xFFF7F] = 0x90;
    exe[0xFFF80] = 0x91;
    exe[0x37F1D] = 0xA8;
    exe[0x37F1E] = 0x00; // first word: the chosen team's
    exe[0x380DF] = 0xC2;
    exe[0x380E0] = 0xFF; // second word: preset
    exe[0x1308D8] = 0x00;
    exe[0x1308D9] = 0x01; // 256: below the 0 mph word
    exe[0x807B6] = 0x75;  // neither jump
    test::WriteBytes(f.exe(), exe);
    f.select({4});
    ASSERT_EQ(f.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, f.ui), TransferOutcome::Done);
    MiscSettings& misc = f.settings().misc;
    EXPECT_EQ(misc.keepTrackRecords, 0);
    EXPECT_EQ(misc.presetPerformance, 1);
    EXPECT_EQ(misc.pitSpeedMph, 0);
    EXPECT_EQ(misc.showComputerFuel, 0);
    EXPECT_FALSE(f.transfer().isLoaded(1)); // only its own item
    EXPECT_FALSE(f.transfer().isLoaded(2));

    misc.weight = 1000.0;
    ASSERT_EQ(f.engine().exportToGame(ItemChoice::AsSelected, f.ui), TransferOutcome::Done);
    auto written = test::ReadBytes(f.exe());
    EXPECT_EQ(U16(written, 0xFFF7F), 0x4272);
    EXPECT_EQ(U16(written, 0x37F1D), 0xFFA8);
    EXPECT_EQ(U16(written, 0x380DF), 0xFFC2);
    EXPECT_EQ(U16(written, 0x1308D8), 392);
    EXPECT_EQ(written[0x807B6], 0x74);
    for (int copy = 0; copy < 5; ++copy)
        EXPECT_EQ(F64(written, 0x12F278 + static_cast<std::size_t>(copy) * 8), 1000.0) << copy;
    auto save = test::ReadBytes(f.save());
    EXPECT_EQ(StoredSavegameChecksum(save), ComputeSavegameChecksum(save));

    misc.presetPerformance = 0;
    misc.keepTrackRecords = 1;
    misc.showComputerFuel = 1;
    misc.pitSpeedMph = 200;
    ASSERT_EQ(f.engine().exportToGame(ItemChoice::AsSelected, f.ui), TransferOutcome::Done);
    written = test::ReadBytes(f.exe());
    EXPECT_EQ(U16(written, 0xFFF7F), 0x9090);
    EXPECT_EQ(U16(written, 0x37F1D), 0x00A8);
    EXPECT_EQ(U16(written, 0x380DF), 0x00C2);
    EXPECT_EQ(U16(written, 0x1308D8), 65192);
    EXPECT_EQ(written[0x807B6], 0xEB);

    // A speed the word cannot hold (from a carset made elsewhere) is
    // refused, and none of the record is written.
    misc.pitSpeedMph = 250;
    misc.quickRaceLaps = 99;
    EXPECT_EQ(f.engine().exportToGame(ItemChoice::AsSelected, f.ui), TransferOutcome::DoneWithErrors);
    EXPECT_TRUE(test::ReadBytes(f.exe()) == written);
    EXPECT_NE(test::ReadBytes(f.save())[0x6D8], 99);
    ASSERT_FALSE(f.engine().lastReport().failures.empty());
    EXPECT_NE(f.engine().lastReport().failures[0].text.find("250 mph"), std::string::npos);
}

TEST(SettingsGameEncoding, ShortGameFileIsAnErrorAndLeavesTheRecords)
{
    Fixture f(2, 1);
    f.select(kAllSettings);
    ASSERT_EQ(f.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, f.ui), TransferOutcome::Done);
    const GameSettings before = f.settings();
    // Cut GP3.EXE just inside the cameras: everything before still reads.
    GameFile exe(f.exe());
    GameFile save(f.save());
    auto cut = exe.bytes();
    cut.resize(0x79FB36 + 100);
    test::WriteBytes(f.exe(), cut);
    GameFile shortExe(f.exe());
    SettingsFiles files{shortExe, save, 2, 2};
    OnboardCameras cameras = before.cameras;
    cameras.cameras[0].words[0] = 1;
    EXPECT_THROW(ReadFromGame(cameras, files), GameFileError);
    EXPECT_EQ(cameras.cameras[0].words[0], 1);
    EXPECT_THROW(WriteToGame(before.cameras, files), GameFileError);
    EXPECT_FALSE(shortExe.changed());
    // Unknown versions are refused rather than read somewhere.
    SettingsFiles unknown{exe, save, 0, 2};
    PointsTable points;
    EXPECT_THROW(ReadFromGame(points, unknown), GameFileError);
}

// --- carsets ------------------------------------------------------------------

TEST(SettingsCarset, SixItemsTravelFromOneInstallationToAnother)
{
    Fixture a(2, 1);
    a.select(kAllSettings);
    ASSERT_EQ(a.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, a.ui), TransferOutcome::Done);
    std::string carset = a.root / "s.GMS";
    ASSERT_EQ(a.engine().saveCarset(ItemChoice::AllHeld, carset, a.ui), TransferOutcome::Done);
    CarsetArchive archive(carset, CarsetArchive::Mode::Read);
    const std::map<std::string, std::size_t> sizes = {{"Points.DAT", 22}, {"Aids.DAT", 10},    {"Misc.DAT", 24},
                                                      {"Damage.DAT", 50}, {"Display.DAT", 16}, {"Cameras.DAT", 180}};
    for (const auto& [name, size] : sizes)
        EXPECT_EQ(archive.read(name, 1000).size(), size) << name;
    EXPECT_EQ(archive.read("Misc.DAT", 100), RecordImage(a.settings().misc));

    Fixture b(2, 2);
    const auto exeBefore = test::ReadBytes(b.exe());
    const auto saveBefore = test::ReadBytes(b.save());
    const auto exeA = test::ReadBytes(a.exe());
    const auto saveA = test::ReadBytes(a.save());
    ASSERT_EQ(b.engine().loadCarset(ItemChoice::AllHeld, carset, b.ui), TransferOutcome::Done);
    for (int item : kAllSettings)
        EXPECT_TRUE(b.transfer().isLoaded(item)) << item;
    EXPECT_FALSE(b.transfer().isLoaded(1));
    b.select(kAllSettings);
    ASSERT_EQ(b.engine().exportToGame(ItemChoice::AsSelected, b.ui), TransferOutcome::Done);

    // Exactly the settings' bytes are A's now; every other byte is B's.
    const auto ranges = V113SettingsRanges();
    const auto exe = test::ReadBytes(b.exe());
    ASSERT_EQ(exe.size(), exeBefore.size());
    std::size_t wrongInside = 0, changedOutside = 0, changedInside = 0;
    for (std::size_t i = 0; i < exe.size(); ++i) {
        if (Inside(ranges, i)) {
            wrongInside += exe[i] != exeA[i];
            changedInside += exe[i] != exeBefore[i];
        } else {
            changedOutside += exe[i] != exeBefore[i];
        }
    }
    EXPECT_EQ(wrongInside, 0u);
    EXPECT_EQ(changedOutside, 0u);
    EXPECT_GT(changedInside, 100u); // the two installations differ there
    const auto save = test::ReadBytes(b.save());
    EXPECT_EQ(save[0x6D8], saveA[0x6D8]);
    std::size_t saveChanged = 0;
    for (std::size_t i = 0; i + 4 < save.size(); ++i)
        saveChanged += i != 0x6D8 && save[i] != saveBefore[i];
    EXPECT_EQ(saveChanged, 0u);
    EXPECT_EQ(StoredSavegameChecksum(save), ComputeSavegameChecksum(save));
}

TEST(SettingsCarset, OlderFormatShortMembersAndCrossVersion)
{
    Fixture v1(1, 4);
    v1.select(kAllSettings);
    ASSERT_EQ(v1.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, v1.ui), TransferOutcome::Done);
    const GameSettings fromV1 = v1.settings();

    // A format-7 carset carries the same records.
    Fixture f(2, 1);
    std::string old = f.root / "v7.GMS";
    WriteZip(old,
             {{"Points.DAT", RecordImage(fromV1.points)},
              {"Aids.DAT", RecordImage(fromV1.aids)},
              {"Misc.DAT", RecordImage(fromV1.misc)},
              {"Damage.DAT", RecordImage(fromV1.damage)},
              {"Display.DAT", RecordImage(fromV1.display)},
              {"Cameras.DAT", RecordImage(fromV1.cameras)},
              {"Header.DAT", Header(7, kAllSettings)}});
    ASSERT_EQ(f.engine().loadCarset(ItemChoice::AllHeld, old, f.ui), TransferOutcome::Done);
    EXPECT_EQ(f.settings().cameras, fromV1.cameras);
    EXPECT_EQ(f.settings().misc, fromV1.misc);
    EXPECT_EQ(f.settings().points, fromV1.points);

    // v1.00 values exported into v1.13 land at v1.13's positions.
    f.select(kAllSettings);
    ASSERT_EQ(f.engine().exportToGame(ItemChoice::AsSelected, f.ui), TransferOutcome::Done);
    auto exe = test::ReadBytes(f.exe());
    EXPECT_EQ(exe[0x73C9EA], fromV1.points.points[0]);
    EXPECT_EQ(U16(exe, 0x140EE5 + 84), fromV1.damage.parts[21]);
    EXPECT_EQ(test::ReadBytes(f.save())[0x6D8], fromV1.misc.quickRaceLaps);

    // A short member is refused by name; the other items still load.
    Fixture g(2, 2);
    const GameSettings before = g.settings();
    std::string cut = g.root / "cut.GMS";
    auto damage = RecordImage(fromV1.damage);
    damage.resize(49);
    WriteZip(
        cut,
        {{"Points.DAT", RecordImage(fromV1.points)}, {"Damage.DAT", damage}, {"Header.DAT", Header(8, {2, 103, 120})}});
    EXPECT_EQ(g.engine().loadCarset(ItemChoice::AllHeld, cut, g.ui), TransferOutcome::DoneWithErrors);
    EXPECT_TRUE(g.transfer().isLoaded(2));
    EXPECT_FALSE(g.transfer().isLoaded(103));
    EXPECT_FALSE(g.transfer().isLoaded(120)); // the header claims it; the archive lacks it
    EXPECT_EQ(g.settings().damage, before.damage);
    std::string failures;
    for (const auto& failure : g.engine().lastReport().failures)
        failures += failure.text + "\n";
    EXPECT_NE(failures.find("Damage.DAT"), std::string::npos) << failures;
    EXPECT_NE(failures.find("Cameras.DAT"), std::string::npos) << failures;
}
