#include "TestSupport.h"

#include "DemoInstallation.h"
#include "base/ByteReader.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/GameInstallation.h"
#include "transfer/SavegameChecksum.h"

#include <gtest/gtest.h>
#include <set>

using namespace pitwall;

namespace {

struct Installation {
    std::vector<std::uint8_t> exe, save;
};

Installation Load(const std::string& dir)
{
    return {test::ReadBytes(ResolveGamePath(dir, "GP3.EXE")), test::ReadBytes(ResolveGamePath(dir, "F1GSTATE.SAV"))};
}

} // namespace

TEST(DemoInstallation, EveryVersionIsRecognisedWithAValidSavegame)
{
    for (int version = 1; version <= 3; ++version) {
        test::TempDir dir;
        test::MakeDemo(dir.path(), version, 1);
        auto d = DetectGameVersions(dir.path());
        ASSERT_TRUE(d.ok) << version;
        EXPECT_EQ(d.gameVersion, version);
        EXPECT_EQ(d.savegameFormat, version == 1 ? 1 : 2);
        auto inst = Load(dir.path());
        EXPECT_EQ(StoredSavegameChecksum(inst.save), ComputeSavegameChecksum(inst.save));
        for (const char* sub :
             {"GP3JAMS/Liveries", "GP3JAMSH/TECHJAM", "BITMAPS", "SAMPLES", "CIRCUITS", "LDATA", "gpsaves"})
            EXPECT_TRUE(DirectoryExists(dir / sub)) << sub;
    }
}

TEST(DemoInstallation, SameSeedSameBytesOtherSeedOtherTeams)
{
    test::TempDir a, b, c;
    demo::WriteDemoInstallation(a.path(), {2, 1});
    demo::WriteDemoInstallation(b.path(), {2, 1});
    test::MakeDemo(c.path(), 2, 2);
    auto ia = Load(a.path()), ib = Load(b.path()), ic = Load(c.path());
    EXPECT_TRUE(ia.exe == ib.exe);
    EXPECT_TRUE(ia.save == ib.save);
    // Driver names of format 2 start at 0x155DC.
    ByteReader ra(ia.save), rc(ic.save);
    ra.seek(0x155DC);
    rc.seek(0x155DC);
    EXPECT_NE(ra.fixedString(24 * 22), rc.fixedString(24 * 22));
}

TEST(DemoInstallation, TeamsAndDriversArePlausibleAtTheGamesPositions)
{
    for (int version : {1, 2}) {
        test::TempDir dir;
        test::MakeDemo(dir.path(), version, 1);
        auto inst = Load(dir.path());
        bool v1 = version == 1;
        ByteReader exe(inst.exe), save(inst.save);

        save.seek(v1 ? 0x15518 : 0x155DC);
        std::set<std::string> names;
        for (int d = 0; d < 22; ++d) {
            std::string name = save.fixedString(24);
            EXPECT_GE(name.size(), 5u);
            names.insert(name);
        }
        EXPECT_EQ(names.size(), 22u);
        for (int t = 0; t < 22; ++t) // team names then engine names
            EXPECT_FALSE(save.fixedString(13).empty());

        save.seek(v1 ? 0x1543C : 0x15500);
        for (int d = 0; d < 22; ++d)
            EXPECT_EQ(save.u8() & 0x7F, d + 1);

        exe.seek(v1 ? 0x143A90 : 0x144D40);
        for (int t = 0; t < 22; ++t) {
            int performance = static_cast<std::uint16_t>(exe.u16() + 32719); // TQP then TRP
            EXPECT_GE(performance, 600);
            EXPECT_LE(performance, 900);
        }
        for (int i = 0; i < 44; ++i) {
            int strength = exe.u16();
            EXPECT_GE(strength, 14000);
            EXPECT_LE(strength, 17500);
        }

        exe.seek(v1 ? 0x73A2C4 : 0x73B858);
        for (int t = 0; t < 11; ++t) {
            auto word = exe.u32();
            EXPECT_TRUE(word == 0x03370336u || word == 0x03350334u);
        }
        exe.seek(v1 ? 0x73B470 : 0x73CA04);
        std::set<int> pit;
        for (int p = 0; p < 11; ++p)
            pit.insert(exe.u8());
        EXPECT_EQ(pit, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));

        // A few settings: points, pit-lane speed, the five weights.
        exe.seek(v1 ? 0x73B456 : 0x73C9EA);
        int winner = exe.u8();
        EXPECT_GE(winner, 10);
        EXPECT_GT(winner, exe.u8()); // the winner scores most
        exe.seek(v1 ? 0x12F8D8 : 0x1308D8);
        EXPECT_EQ((exe.u16() - 392) % 324, 0);
        exe.seek(v1 ? 0x12E278 : 0x12F278);
        double weight = exe.f64();
        for (int i = 1; i < 5; ++i)
            EXPECT_EQ(exe.f64(), weight);
    }
}
