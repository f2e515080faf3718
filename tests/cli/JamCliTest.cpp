#include "TestSupport.h"

#include "Commands.h"
#include "DemoContext.h"
#include "base/FileUtils.h"
#include "formats/JamFile.h"
#include "formats/JamScramble.h"
#include "formats/Palette.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace pitwall;

namespace {

struct Run {
    int code = 0;
    std::string out, err;
};

Run Jam(std::vector<std::string> args)
{
    args.insert(args.begin(), {"pitwall-cli", "jam"});
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out, err;
    cli::CliContext context(out, err, PITWALL_RUNTIME_DIR "/");
    Run r;
    r.code = cli::RunCli(static_cast<int>(argv.size()), argv.data(), context);
    r.out = out.str();
    r.err = err.str();
    return r;
}

struct Textures {
    test::TempDir dir;
    Palette palette = LoadPaletteFile(std::string(PITWALL_RUNTIME_DIR "/") + kPaletteFileName);
    std::string soft, hard;
    Textures()
    {
        demo::DemoContext context;
        context.directory = dir.path();
        demo::WriteJams(context);
        soft = dir / "GP3JAMS/Liveries/JORDAN98.JAM";
        hard = dir / "GP3JAMSH/Liveries/JORDAN98.JAM";
    }
};

} // namespace

TEST(JamCli, InfoListsKindPageAndImages)
{
    Textures t;
    TJAMFile jam(t.palette, t.soft);
    auto r = Jam({"info", t.soft});
    ASSERT_EQ(r.code, 0) << r.err;
    const JamEntry& e = jam.entries()[1];
    std::ostringstream image1;
    image1 << "image 1: x " << int(e.x) << ", y " << e.y << ", w " << e.width << ", h " << e.height << ", texture id "
           << e.textureId << ", table size " << e.tableSize << '\n';
    EXPECT_EQ(r.out.rfind("kind: 8-bit (software)\nimages: " + std::to_string(jam.imageCount())
                              + "\npage height: " + std::to_string(jam.pageHeight()) + "\nimage 0: x 0, y 0,",
                          0),
              0u)
        << r.out;
    EXPECT_NE(r.out.find(image1.str()), std::string::npos) << r.out;

    auto h = Jam({"info", t.hard});
    ASSERT_EQ(h.code, 0);
    EXPECT_EQ(h.out.rfind("kind: 16-bit (hardware)\n", 0), 0u);
}

TEST(JamCli, ToBmpAndBack)
{
    Textures t;
    ASSERT_EQ(Jam({"to-bmp", t.hard, t.dir / "h.bmp", "--quiet"}).code, 0);
    ASSERT_EQ(Jam({"from-bmp", t.hard, t.dir / "h.bmp", "-o", t.dir / "h.jam", "--quiet"}).code, 0);
    TJAMFile original(t.palette, t.hard), back(t.palette, t.dir / "h.jam");
    EXPECT_EQ(back.page(), original.page());

    ASSERT_EQ(Jam({"to-bmp", t.soft, t.dir / "s.bmp", "--quiet"}).code, 0);
    test::WriteBytes(t.dir / "copy.jam", test::ReadBytes(t.soft));
    ASSERT_EQ(Jam({"from-bmp", t.dir / "copy.jam", t.dir / "s.bmp", "--quiet"}).code, 0); // in place
    TJAMFile soft(t.palette, t.soft), copy(t.palette, t.dir / "copy.jam");
    EXPECT_EQ(copy.page(), soft.page());

    // A picture of the other page's size is refused: one line, file kept.
    auto before = test::ReadBytes(t.dir / "copy.jam");
    auto wrong = Jam({"from-bmp", t.dir / "copy.jam", t.dir / "h.bmp"});
    if (soft.pageHeight() != original.pageHeight()) {
        EXPECT_EQ(wrong.code, 1);
        EXPECT_EQ(std::count(wrong.err.begin(), wrong.err.end(), '\n'), 1) << wrong.err;
    }
    auto deep = Jam({"from-bmp", t.dir / "copy.jam", t.dir / "h.bmp"}); // 32-bit picture for an 8-bit JAM
    EXPECT_EQ(deep.code, 1);
    EXPECT_EQ(test::ReadBytes(t.dir / "copy.jam"), before);
}

TEST(JamCli, UnscrambleWritesTheJad)
{
    Textures t;
    ASSERT_EQ(Jam({"unscramble", t.soft, t.dir / "s.jad", "--quiet"}).code, 0);
    auto expected = test::ReadBytes(t.soft);
    ScrambleBytes(expected);
    EXPECT_EQ(test::ReadBytes(t.dir / "s.jad"), expected);
    auto hard = Jam({"unscramble", t.hard, t.dir / "h.jad"});
    EXPECT_EQ(hard.code, 1);
    EXPECT_FALSE(FileExists(t.dir / "h.jad"));
}

TEST(JamCli, DamagedAndMissingFilesFailWithOneLine)
{
    Textures t;
    auto bytes = test::ReadBytes(t.hard);
    bytes.resize(bytes.size() / 2);
    test::WriteBytes(t.dir / "cut.jam", bytes);
    auto cut = Jam({"info", t.dir / "cut.jam"});
    EXPECT_EQ(cut.code, 1);
    EXPECT_NE(cut.err.find("not a valid JAM file"), std::string::npos) << cut.err;
    EXPECT_EQ(std::count(cut.err.begin(), cut.err.end(), '\n'), 1);
    EXPECT_EQ(Jam({"info", t.dir / "none.jam"}).code, 1);
    EXPECT_EQ(Jam({"info"}).code, 2);
    EXPECT_EQ(Jam({}).code, 2);
}
