#include "CliRunner.h"
#include "TestSupport.h"

#include "transfer/SavegameChecksum.h"

#include <gtest/gtest.h>

using namespace pitwall;

namespace {

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

} // namespace

TEST(SettingsCli, ShowPrintsEveryRecordReadably)
{
    test::TempDir dir;
    test::MakeDemo(dir / "g", 1, 5);
    auto exe = test::ReadBytes(dir / "g/GP3.EXE");
    auto shown = test::RunCommand({"settings", "show", "--game", dir / "g", "--quiet"});
    ASSERT_EQ(shown.code, 0) << shown.err;
    const std::string& out = shown.out;
    EXPECT_EQ(out.rfind("points: " + std::to_string(exe[0x73B456]) + " ", 0), 0u) << out;
    EXPECT_NE(out.find("rookie"), std::string::npos);
    EXPECT_NE(out.find("F5 ideal line"), std::string::npos);
    EXPECT_NE(out.find("pit-speed-mph: " + std::to_string((U16(exe, 0x12F8D8) - 392) / 324) + " mph"),
              std::string::npos);
    EXPECT_NE(out.find("small rear wing left"), std::string::npos);
    EXPECT_NE(out.find("tv-camera"), std::string::npos);
    EXPECT_NE(out.find("weight: "), std::string::npos);
    EXPECT_NE(out.find(" kg"), std::string::npos);
    // Nine camera rows.
    EXPECT_NE(out.find("\n     9 "), std::string::npos);
}

TEST(SettingsCli, SetChangesOnlyThoseValuesAndRefusesBadOnes)
{
    test::TempDir dir;
    test::MakeDemo(dir / "g", 2, 1);
    const std::string exePath = dir / "g/GP3.EXE", savePath = dir / "g/F1GSTATE.SAV";
    const auto exeBefore = test::ReadBytes(exePath);
    const auto saveBefore = test::ReadBytes(savePath);

    // Unknown keys, values out of range and malformed lists write nothing.
    for (const std::vector<std::string>& bad : {
             std::vector<std::string>{"points=10,6,4", "warp-speed=9"},
             std::vector<std::string>{"pit-speed-mph=201"},
             std::vector<std::string>{"quick-race-laps=5", "aids.rookie=F1,F9"},
             std::vector<std::string>{"camera.3.direction=181"},
             std::vector<std::string>{"points=10,6,x"},
             std::vector<std::string>{"weight"},
         }) {
        std::vector<std::string> args = {"settings", "set", "--game", dir / "g", "--quiet"};
        args.insert(args.end(), bad.begin(), bad.end());
        auto r = test::RunCommand(args);
        EXPECT_EQ(r.code, 1) << bad.back();
        EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
        EXPECT_TRUE(test::ReadBytes(exePath) == exeBefore) << bad.back();
    }
    auto r = test::RunCommand({"settings", "set", "--game", dir / "g", "warp-speed=9", "--quiet"});
    EXPECT_NE(r.err.find("warp-speed"), std::string::npos);
    r = test::RunCommand({"settings", "set", "--game", dir / "g", "pit-speed-mph=250", "--quiet"});
    EXPECT_NE(r.err.find("250"), std::string::npos);

    r = test::RunCommand({"settings", "set", "--game", dir / "g", "points=10,6,4,3,2,1", "pit-speed-mph=60",
                          "quick-race-laps=5", "aids.rookie=F1,F2,F5", "camera.1.direction=90", "--quiet"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto exe = test::ReadBytes(exePath);
    const auto save = test::ReadBytes(savePath);
    EXPECT_EQ(std::vector<std::uint8_t>(exe.begin() + 0x73C9EA, exe.begin() + 0x73C9EA + 7),
              (std::vector<std::uint8_t>{10, 6, 4, 3, 2, 1, 0}));
    EXPECT_EQ(U16(exe, 0x1308D8), 60 * 324 + 392);
    EXPECT_EQ(U16(exe, 0x7240DC), 0x0143);
    EXPECT_EQ(U16(exe, 0x7240DE), U16(exeBefore, 0x7240DE)); // amateur unchanged
    EXPECT_EQ(U16(exe, 0x79FB36 + 6), 16380);
    EXPECT_EQ(save[0x6D8], 5);
    EXPECT_EQ(StoredSavegameChecksum(save), ComputeSavegameChecksum(save));
    // Outside the points, the aids, the misc words, the cameras: nothing.
    std::size_t changedElsewhere = 0;
    for (std::size_t i = 0; i < exe.size(); ++i) {
        bool owned = (i >= 0x73C9EA && i < 0x73C9EA + 22) || (i >= 0x7240DC && i < 0x7240DC + 10)
            || (i >= 0x1308D8 && i < 0x1308DA) || (i >= 0x79FB36 && i < 0x79FB36 + 180);
        changedElsewhere += !owned && exe[i] != exeBefore[i];
    }
    EXPECT_EQ(changedElsewhere, 0u);

    auto shown = test::RunCommand({"settings", "show", "--game", dir / "g", "--quiet"});
    EXPECT_EQ(shown.out.substr(0, 30), "points: 10 6 4 3 2 1 0 0 0 0 0");
    EXPECT_NE(shown.out.find("quick-race-laps: 5 laps"), std::string::npos);
    auto keys = test::RunCommand({"settings", "keys"});
    EXPECT_NE(keys.out.find("damage.front-wing-right-small\n"), std::string::npos);
    EXPECT_NE(keys.out.find("camera.9.unknown2\n"), std::string::npos);
}
