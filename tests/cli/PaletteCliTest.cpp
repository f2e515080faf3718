#include "TestSupport.h"

#include "CliRunner.h"
#include "DemoContext.h"
#include "base/FileUtils.h"
#include "formats/Bmp.h"
#include "formats/Palette.h"
#include "formats/PaletteFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace pitwall;

namespace {

// While it lives, PITWALL_PALETTE names the file.
class PaletteVariable {
public:
    explicit PaletteVariable(const std::string& file) { test::SetEnvironment("PITWALL_PALETTE", file.c_str()); }
    ~PaletteVariable() { test::UnsetEnvironment("PITWALL_PALETTE"); }
};

std::string GimpPalette()
{
    std::string text = "GIMP Palette\nName: test\n#\n";
    for (int i = 0; i < 256; ++i)
        text += std::to_string(255 - i) + " " + std::to_string(i) + " 99\tcolour\n";
    return text;
}

} // namespace

// The palette named on the command line or in PITWALL_PALETTE colours what
// `jam to-bmp` writes; `info` says which palette is in use.
TEST(PaletteCli, ChosenPaletteColoursTheExportAndInfoNamesIt)
{
    test::TempDir dir;
    demo::DemoContext context;
    context.directory = dir / "game/";
    demo::WriteJams(context);
    const std::string jam = dir / "game/GP3JAMS/Liveries/JORDAN98.JAM";
    test::WriteText(dir / "mine.gpl", GimpPalette());
    const Palette mine = ReadPaletteFile(dir / "mine.gpl");
    test::WriteText(dir / "mine.pal", FormatPalette(mine)); // the same colours as JASC-PAL

    ASSERT_EQ(test::RunCommand({"jam", "to-bmp", jam, dir / "stand-in.bmp", "--quiet"}).code, 0);
    auto r = test::RunCommand({"--palette", dir / "mine.pal", "jam", "to-bmp", jam, dir / "mine.bmp", "--quiet"});
    ASSERT_EQ(r.code, 0) << r.err;
    const Image standIn = LoadBmpFile(dir / "stand-in.bmp");
    const Image chosen = LoadBmpFile(dir / "mine.bmp");
    ASSERT_EQ(chosen.colorTable().size(), 256u);
    EXPECT_EQ(chosen.colorTable(), mine.table());
    EXPECT_NE(chosen.pixel(5, 5), standIn.pixel(5, 5));
    {
        PaletteVariable variable(dir / "mine.gpl");
        ASSERT_EQ(test::RunCommand({"jam", "to-bmp", jam, dir / "variable.bmp", "--quiet"}).code, 0);
        EXPECT_EQ(test::ReadBytes(dir / "variable.bmp"), test::ReadBytes(dir / "mine.bmp"));
    }

    // A palette that cannot be read stops the command, naming the file.
    test::WriteText(dir / "short.gpl", "GIMP Palette\n1 2 3\n");
    r = test::RunCommand({"--palette", dir / "short.gpl", "jam", "to-bmp", jam, dir / "never.bmp", "--quiet"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("short.gpl"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("1 colours"), std::string::npos) << r.err;
    EXPECT_FALSE(FileExists(dir / "never.bmp"));

    test::MakeDemo(dir / "install");
    r = test::RunCommand({"info", "--game", dir / "install"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("palette: the stand-in shipped with Pitwall"), std::string::npos) << r.out;
    r = test::RunCommand({"--palette", dir / "mine.gpl", "info", "--game", dir / "install", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\"standIn\": false"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("mine.gpl"), std::string::npos) << r.out;
}
