#include "CliRunner.h"
#include "TestSupport.h"

#include "Commands.h"
#include "transfer/FileUtils.h"
#include "transfer/SavegameChecksum.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace pitwall;

TEST(TransferCli, TeamsGoFromOneInstallationToAnother)
{
    test::TempDir dir;
    std::string a = dir / "A", b = dir / "B", carset = dir / "t.GMS";
    test::MakeDemo(a, 2, 1);
    test::MakeDemo(b, 2, 2);
    auto showA = test::RunCommand({"teams", "show", "--game", a, "--quiet"});
    ASSERT_EQ(showA.code, 0) << showA.err;
    EXPECT_NE(test::RunCommand({"teams", "show", "--game", b, "--quiet"}).out, showA.out);

    auto imported = test::RunCommand({"import", "--game", a, "--items", "1", "-o", carset});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_NE(imported.err.find("%]"), std::string::npos); // progress lines on stderr
    auto list = test::RunCommand({"carset", "list", carset});
    ASSERT_EQ(list.code, 0) << list.err;
    EXPECT_NE(list.out.find("format: 8"), std::string::npos);
    EXPECT_NE(list.out.find("TeamsDrivers.DAT  1122"), std::string::npos);
    EXPECT_NE(list.out.find("Header.DAT  360"), std::string::npos);
    auto info = test::RunCommand({"carset", "info", carset});
    EXPECT_EQ(info.out.substr(0, 5), "v1.0\n");

    ASSERT_EQ(test::RunCommand({"apply", carset, "--game", b, "--quiet"}).code, 0);
    EXPECT_EQ(test::RunCommand({"teams", "show", "--game", b, "--quiet"}).out, showA.out);
    auto checksum = test::RunCommand({"checksum", "--game", b});
    EXPECT_EQ(checksum.out.substr(10, 8), checksum.out.substr(checksum.out.find("computed:") + 10, 8));

    // .PER files: out of A, into a fresh C.
    std::string c = dir / "C", per = dir / "teams.PER";
    test::MakeDemo(c, 2, 2);
    ASSERT_EQ(test::RunCommand({"teams", "per-export", "--game", a, per, "--quiet"}).code, 0);
    ASSERT_EQ(test::RunCommand({"teams", "per-import", "--game", c, per, "--quiet"}).code, 0);
    auto showC = test::RunCommand({"teams", "show", "--game", c, "--quiet"}).out;
    // Names and values came over; tyres and pit places are not part of a .PER file.
    EXPECT_NE(showC.find(showA.out.substr(showA.out.find('\n') + 1, 40)), std::string::npos);
}

TEST(TransferCli, FailuresAndBackup)
{
    test::TempDir dir;
    test::MakeDemo(dir / "g");
    EXPECT_EQ(test::RunCommand({"import", "--game", dir / "g", "--items", "1,999", "-o", dir / "x.GMS"}).code, 1);
    EXPECT_EQ(test::RunCommand({"import", "--game", dir / "g", "--items", "x", "-o", dir / "x.GMS"}).code, 1);
    test::WriteText(dir / "bad.GMS", "no zip");
    auto bad = test::RunCommand({"apply", dir / "bad.GMS", "--game", dir / "g"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(test::RunCommand({"carset", "list", dir / "bad.GMS"}).code, 1);

    auto backup = test::RunCommand({"backup", "--game", dir / "g", "--groups", "0,1", "--to", dir / "backup", "--quiet"});
    ASSERT_EQ(backup.code, 0) << backup.err;
    EXPECT_EQ(FileSizeOf(dir / "backup/GP3.EXE"), FileSizeOf(dir / "g/GP3.EXE"));
    EXPECT_TRUE(FileExists(dir / "backup/F1GSTATE.SAV"));
    EXPECT_EQ(test::RunCommand({"backup", "--game", dir / "g", "--groups", "16", "--to", dir / "b2"}).code, 1);

    // A full disk: GP3.EXE does not fit, the savegame does; the run says so and fails.
    test::CliRun full;
    {
        test::FileSizeLimit limit(FileSizeOf(dir / "g/F1GSTATE.SAV") + 1);
        full = test::RunCommand({"backup", "--game", dir / "g", "--groups", "0,1", "--to", dir / "full", "--quiet"});
    }
    EXPECT_EQ(full.code, 1);
    EXPECT_NE(full.err.find("  " + dir / "g/GP3.EXE: "), std::string::npos) << full.err;
    EXPECT_NE(full.err.find("pitwall-cli: the backup is incomplete: 1 file was not copied"), std::string::npos);
    EXPECT_FALSE(FileExists(dir / "full/GP3.EXE"));
    EXPECT_EQ(FileSizeOf(dir / "full/F1GSTATE.SAV"), FileSizeOf(dir / "g/F1GSTATE.SAV"));
    EXPECT_EQ(ListFiles(dir / "full", "*.*", true, false).size(), 1u);
}
