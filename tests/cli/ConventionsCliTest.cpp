// The conventions every command shares: -o/--output and --language with the
// older positional spellings still working, output folders made when
// missing, data on stdout and notes on stderr that --quiet silences.

#include "CliRunner.h"
#include "FileHashes.h"
#include "TestSupport.h"

#include "base/FileUtils.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace pitwall;

namespace {

struct Written {
    std::vector<std::string> command;
    std::string file; // what the command must have made (a file or folder)
};

TEST(ConventionsCli, ExportsMakeTheirFolderAndStayQuietWithQuiet)
{
    test::TempDir dir;
    const std::string game = dir / "game", out = dir / "new/deeper";
    test::MakeDemo(game);
    const std::string jam = game + "/GP3JAMS/MONZA.JAM";
    const std::vector<Written> writes = {
        {{"art", "export", "760", "-o", out + "/art/760.bmp"}, out + "/art/760.bmp"},
        {{"art", "export-all", "--output", out + "/all"}, out + "/all"},
        {{"art", "menu", "export-all", out + "/menu/BG*.JPG"}, out + "/menu/BG84.JPG"},
        {{"art", "loading", "export", out + "/loading/L*.BMP"}, out + "/loading/L6.BMP"},
        {{"sound", "extract", "3", "-o", out + "/one/s3.wav"}, out + "/one/s3.wav"},
        {{"sound", "extract-all", "-o", out + "/sounds"}, out + "/sounds/Sound131.WAV"},
        {{"text", "export", "--language", "ENGLISH", "-o", out + "/texts/en.txt"}, out + "/texts/en.txt"},
    };
    for (const auto& w : writes) {
        auto args = w.command;
        args.insert(args.end(), {"--game", game});
        auto loud = test::RunCommand(args);
        ASSERT_EQ(loud.code, 0) << w.command[1] << ": " << loud.err;
        EXPECT_EQ(loud.out, "") << w.command[1];
        EXPECT_NE(loud.err, "") << w.command[1] << " says nothing of what it wrote";
        EXPECT_TRUE(FileExists(w.file) || ListFiles(IncludeTrailingBackslash(w.file), "*", false, false).size() == 840)
            << w.file;
        args.push_back("--quiet");
        auto quiet = test::RunCommand(args);
        ASSERT_EQ(quiet.code, 0) << w.command[1] << ": " << quiet.err;
        EXPECT_EQ(quiet.out + quiet.err, "") << w.command[1];
    }
}

// An export pointed at a file of the game does not replace it (that is an
// import's work, with a restore point); a new file beside them is fine. A
// pattern naming several files is refused before the first is written.
TEST(ConventionsCli, ExportsNeverReplaceTheGamesFiles)
{
    test::TempDir dir;
    const std::string game = dir / "game";
    test::MakeDemo(game);
    const test::FileHashes before = test::HashesOfFiles(game + "/");
    const std::vector<std::vector<std::string>> commands = {
        {"import", "--items", "1", "-o", game + "/GP3.EXE"},
        {"text", "export", "--language", "ENGLISH", "-o", game + "/F1GSTATE.SAV"},
        {"sound", "extract", "3", "-o", game + "/SAMPLES/GP3SOUND.DAT"},
        {"art", "export", "760", "-o", game + "/GP3.EXE"},
        {"teams", "per-export", "-o", game + "/F1GSTATE.SAV"},
        // BG0 .. BG84: LOADING0.BMP would be new, LOADING1.BMP is the game's.
        {"art", "menu", "export-all", game + "/BITMAPS/LOADING*.BMP"},
        {"art", "loading", "export", game + "/BITMAPS/LOADING*.BMP"},
    };
    for (auto args : commands) {
        args.insert(args.end(), {"--game", game});
        auto refused = test::RunCommand(args);
        EXPECT_EQ(refused.code, 1) << args[0];
        EXPECT_NE(refused.err.find("does not replace the game's files"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(test::HashesOfFiles(game + "/"), before);
    EXPECT_EQ(test::RunCommand({"sound", "extract", "3", "-o", game + "/SAMPLES/three.wav", "--game", game}).code, 0);
}

TEST(ConventionsCli, OldAndNewSpellingsMeanTheSame)
{
    test::TempDir dir;
    const std::string game = dir / "game";
    test::MakeDemo(game);
    ASSERT_EQ(test::RunCommand({"text", "export", "DEUTSCH", dir / "old.txt", "--game", game}).code, 0);
    ASSERT_EQ(test::RunCommand({"text", "export", "--language", "DEUTSCH", "-o", dir / "new.txt", "--game", game}).code,
              0);
    EXPECT_EQ(test::ReadBytes(dir / "old.txt"), test::ReadBytes(dir / "new.txt"));
    auto imported = test::RunCommand({"text", "import", "--language", "DEUTSCH", dir / "new.txt", "--game", game});
    EXPECT_EQ(imported.code, 0) << imported.err;

    ASSERT_EQ(test::RunCommand({"teams", "per-export", "--game", game, dir / "old.PER"}).code, 0);
    ASSERT_EQ(test::RunCommand({"teams", "per-export", "--game", game, "-o", dir / "per/new.PER"}).code, 0);
    EXPECT_EQ(test::ReadBytes(dir / "old.PER"), test::ReadBytes(dir / "per/new.PER"));
    auto backup = test::RunCommand({"backup", "--game", game, "--groups", "0", "-o", dir / "backup", "--quiet"});
    EXPECT_EQ(backup.code, 0) << backup.err;
    EXPECT_TRUE(DirectoryExists(dir / "backup"));

    // Neither spelling: a usage error naming the option.
    auto missing = test::RunCommand({"sound", "extract", "3", "--game", game});
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("--output"), std::string::npos) << missing.err;
    auto noLanguage = test::RunCommand({"text", "export", "-o", dir / "x.txt", "--game", game});
    EXPECT_EQ(noLanguage.code, 2);
    EXPECT_NE(noLanguage.err.find("--language"), std::string::npos) << noLanguage.err;
    EXPECT_FALSE(FileExists(dir / "x.txt"));
}

TEST(ConventionsCli, WritingCommandsPrintNothingWithQuiet)
{
    test::TempDir dir;
    const std::string a = dir / "A", b = dir / "B", carset = dir / "all.GMS";
    test::MakeDemo(a, 2, 1);
    test::MakeDemo(b, 2, 2);
    const std::vector<std::vector<std::string>> writes = {
        {"import", "--game", a, "--items", "all", "-o", carset},
        // Asks whether the track files may be replaced: answered by --yes.
        {"apply", carset, "--game", b, "--yes"},
        {"settings", "set", "--game", b, "points=10,8,6"},
        {"restore", "--game", b},
    };
    for (auto args : writes) {
        args.push_back("--quiet");
        auto r = test::RunCommand(args);
        EXPECT_EQ(r.code, 0) << args[0] << ": " << r.err;
        EXPECT_EQ(r.out + r.err, "") << args[0];
    }
}

// A number out of its range or a list that is none is wrong usage (exit 2),
// found before anything is read or written; a negative art entry is no
// "all entries".
TEST(ConventionsCli, ValuesOutOfRangeAreUsageErrors)
{
    test::TempDir dir;
    const std::string game = dir / "game", out = dir / "out";
    test::MakeDemo(game);
    const std::vector<std::vector<std::string>> commands = {
        {"import", "--items", "999", "-o", out + "/x.GMS"},
        {"import", "--items", "foo", "-o", out + "/x.GMS"},
        {"backup", "--groups", "16", "-o", out},
        {"art", "export", "900", "-o", out + "/x.bmp"},
        {"art", "info", "--entry", "900"},
        {"art", "info", "--entry", "-1"},
        {"art", "info", "--entry", "-7"},
        {"cockpit", "render", "--language", "ENGLISH", "--screen", "DRIVING_RACE_TEXT", "--element", "99", "-o",
         out + "/x.png"},
        {"carset", "conflicts", dir / "one.GMS"},
    };
    for (auto args : commands) {
        args.insert(args.end(), {"--game", game});
        auto r = test::RunCommand(args);
        EXPECT_EQ(r.code, 2) << args[0] << " " << args[2] << ": " << r.err;
        EXPECT_EQ(r.out, "") << args[0] << " " << args[2];
        EXPECT_NE(r.err.find("Run with --help"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(DirectoryExists(out));
    auto json = test::RunCommand({"art", "info", "--game", game, "--entry", "-1", "--json"});
    EXPECT_EQ(json.code, 2);
    EXPECT_EQ(json.out.rfind("{", 0), 0u) << json.out;
    EXPECT_NE(json.out.find("\"error\""), std::string::npos) << json.out;
}

// Data that could not all reach stdout (here a file that may not grow past
// a few kilobytes, as on a full disk) fails the command: a script must not
// take half a document for the whole.
TEST(ConventionsCli, OutputThatCannotBeWrittenFails)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimit;
#else
    test::TempDir dir;
    const std::string game = dir / "game";
    test::MakeDemo(game);
    // The art bank's directory only reads; its 840 entries print far more
    // than the limit, as text and as JSON.
    const std::string bank = game + "/BITMAPS/GP3ART5.BIN";
    for (const bool json : {false, true}) {
        std::vector<const char*> argv = {"pitwall-cli", "art", "info", "--file", bank.c_str()};
        if (json)
            argv.push_back("--json");
        std::ofstream out(NativePath(dir / "out.txt"), std::ios::binary | std::ios::trunc);
        std::ostringstream err;
        cli::CliContext context(out, err, PITWALL_RUNTIME_DIR "/");
        int code = 0;
        {
            test::FileSizeLimit limit(4096);
            code = cli::RunCli(static_cast<int>(argv.size()), argv.data(), context);
        }
        EXPECT_EQ(code, 1) << json;
        EXPECT_NE(err.str().find("pitwall-cli: the output could not be written in full"), std::string::npos)
            << err.str();
    }
#endif
}

} // namespace
