// The command line keeps its working files to itself: a desktop program
// running from the same folder keeps its own.

#include "CliRunner.h"
#include "TestSupport.h"

#include "app/ProgramState.h"
#include "base/FileUtils.h"

#include <gtest/gtest.h>

using namespace pitwall;

TEST(WorkingDirectoryCli, CommandsLeaveARunningDesktopProgramsWorkingFilesAlone)
{
    test::TempDir dir;
    const std::string program = dir / "program/", game = dir / "game/", carset = dir / "teams.GMS";
    ForceDirectories(program);
    for (const char* file : {"ENGLISH.LNG", "GP3 Palette.pal"})
        CopyFileForced(std::string(PITWALL_RUNTIME_DIR "/") + file, program + file);
    test::MakeDemo(game);

    ProgramState desktop;
    test::RecordingMessages sink;
    ASSERT_EQ(StartProgram(desktop, program, sink), StartupOutcome::Ready);
    test::WriteText(desktop.directories.working + "SoundWork3.wav", "desktop");

    auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), "pitwall-cli");
        args.insert(args.end(), {"--quiet", "--restore-dir", dir / "points"});
        std::vector<const char*> argv;
        for (const auto& a : args)
            argv.push_back(a.c_str());
        std::ostringstream out, err;
        cli::CliContext context(out, err, program);
        return cli::RunCli(static_cast<int>(argv.size()), argv.data(), context);
    };
    EXPECT_EQ(run({"import", "--game", game, "--items", "teams", "-o", carset}), 0);
    EXPECT_EQ(run({"apply", carset, "--game", game}), 0);
    EXPECT_EQ(test::ReadText(desktop.directories.working + "SoundWork3.wav"), "desktop");
    EXPECT_TRUE(DirectoryExists(desktop.directories.staging));

    // A desktop program started after them still finds TEMP its own.
    ShutdownCleanup(desktop, sink);
    ProgramState next;
    ASSERT_EQ(StartProgram(next, program, sink), StartupOutcome::Ready);
    EXPECT_EQ(next.directories.working, program + "TEMP" + kPathSeparator);
    ShutdownCleanup(next, sink);
}
