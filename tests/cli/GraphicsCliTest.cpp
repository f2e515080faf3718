#include "CliRunner.h"
#include "TestSupport.h"
#include "formats/GameInstallation.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace pitwall;

namespace {

TEST(GraphicsCli, ShowListsEveryTeamsGraphicsAndFailsNamingAMissingFile)
{
    test::TempDir dir;
    const std::string game = dir / "game";
    test::MakeDemo(game, 1, 11);
    auto run = test::RunCommand({"graphics", "show", "--game", game, "--quiet"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("team 1 ("), std::string::npos);
    EXPECT_NE(run.out.find("team 11 ("), std::string::npos);
    EXPECT_NE(run.out.find("car     WILLIA98.JAM  software 8-bit 256x"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("jacks   JM-MINAR.JAM JM-MINA1.JAM  software 8-bit"), std::string::npos);
    EXPECT_NE(run.out.find("; hardware 16-bit 256x"), std::string::npos);
    EXPECT_NE(run.out.find("number 2 source: left "), std::string::npos);
    EXPECT_NE(run.out.find("pit crew ramps "), std::string::npos);

    std::filesystem::remove(GameFilePath(game + "/", "GP3JAMSH/Liveries/PA_JORDA.JAM"));
    run = test::RunCommand({"graphics", "show", "--game", game, "--quiet"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("PA_JORDA.JAM"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("cockpit PA_JORDA.JAM  software 8-bit 256x256 "), std::string::npos);
    EXPECT_NE(run.out.find("; hardware -\n"), std::string::npos);
}

TEST(GraphicsCli, ImportAndApplyCarryTheGraphicsItems)
{
    test::TempDir dir;
    const std::string a = dir / "a", b = dir / "b", carset = dir / "g.GMS";
    test::MakeDemo(a, 2, 12);
    test::MakeDemo(b, 2, 13);
    auto run =
        test::RunCommand({"import", "--game", a, "--items", "6,10,11-76,77,102,178-190", "-o", carset, "--quiet"});
    ASSERT_EQ(run.code, 0) << run.err;
    run = test::RunCommand({"apply", carset, "--game", b, "--quiet", "--restore-dir", dir / "restore"});
    ASSERT_EQ(run.code, 0) << run.err;
    for (const char* file :
         {"GP3JAMS/Liveries/WILLIA98.JAM", "GP3JAMSH/Liveries/PA_MINAR.JAM", "GP3JAMS/Main/JM-MCLA1.JAM",
          "GP3JAMSH/Liveries/Helmetse.JAM", "GP3JAMSH/TECHJAM/WHBRIDG1.BMP", "GP3JAMS/Main/WHBLUR0.JAM"})
        EXPECT_TRUE(test::ReadBytes(GameFilePath(a + "/", file)) == test::ReadBytes(GameFilePath(b + "/", file)))
            << file;
    const auto exeA = test::ReadBytes(a + "/GP3.EXE"), exeB = test::ReadBytes(b + "/GP3.EXE");
    EXPECT_TRUE(std::equal(exeA.begin() + 0x182430, exeA.begin() + 0x182430 + 1320, exeB.begin() + 0x182430));
    EXPECT_TRUE(std::equal(exeA.begin() + 0x41D398, exeA.begin() + 0x41D398 + 64, exeB.begin() + 0x41D398));

    // A carset item that cannot be read makes the whole command fail.
    std::filesystem::remove(GameFilePath(a + "/", "GP3JAMS/Main/JM-SAUB1.JAM"));
    run = test::RunCommand({"import", "--game", a, "--items", "61", "-o", dir / "bad.GMS", "--quiet"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("JM-SAUB1.JAM"), std::string::npos) << run.err;
}

} // namespace
