#include "TestSupport.h"

#include "app/IniFile.h"
#include "app/ProgramState.h"
#include "app/RecentCarsets.h"
#include "app/WindowPosition.h"
#include "base/FileUtils.h"
#include "transfer/CarsetLibrary.h"
#include "transfer/FileChoice.h"

#include <algorithm>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace pitwall;

namespace {

void WriteLanguage(const std::string& path)
{
    std::string text = "Marquee\r\n";
    for (int n = 0; n < 1152; ++n)
        text += "text " + std::to_string(n) + "\r\n";
    test::WriteText(path, text);
}

} // namespace

TEST(ProgramDirectories, BesideTheExecutableOrInTheUsersDirectories)
{
    auto env = [](const char* name) -> std::optional<std::string> {
        std::string n = name;
        if (n == "HOME")
            return "/home/ann";
        if (n == "XDG_CACHE_HOME")
            return "/var/cache/ann";
        return std::nullopt;
    };
    // The parts the program adds carry the system's separator.
    auto below = [](std::string parts) {
        std::replace(parts.begin(), parts.end(), '/', kPathSeparator);
        return "/opt/pw" + parts;
    };
    auto beside = ComputeProgramDirectories("/opt/pw", true, env);
    EXPECT_EQ(beside.program, below("/"));
    EXPECT_EQ(beside.settingsFile(), below("/PITWALL.INI"));
    EXPECT_EQ(beside.working, below("/TEMP/"));
    EXPECT_EQ(beside.staging, below("/TEMP/Carset/"));

    test::TempDir home;
    auto homeEnv = [&](const char* name) -> std::optional<std::string> {
        return std::string(name) == "HOME" ? std::optional<std::string>(home.path()) : std::nullopt;
    };
    auto installed = ComputeProgramDirectories("/usr/share/pitwall/", false, homeEnv);
    EXPECT_EQ(installed.program, "/usr/share/pitwall/");
    EXPECT_EQ(installed.settingsFile(), home / ".config/pitwall/PITWALL.INI");
    EXPECT_EQ(installed.working, home / ".cache/pitwall/TEMP/");
    EXPECT_EQ(installed.staging, home / ".cache/pitwall/TEMP/Carset/");
    EXPECT_TRUE(DirectoryExists(home / ".config/pitwall"));

    EXPECT_TRUE(IsDirectoryWritable(home.path()));
    EXPECT_FALSE(IsDirectoryWritable(home / "missing"));

#ifndef _WIN32
    // Without any of the variables: the user's home as the system records
    // it, never the temporary folder every user shares.
    auto none = [](const char*) -> std::optional<std::string> { return std::nullopt; };
    const std::string settings = ComputeProgramDirectories("/usr/share/pitwall/", false, none).settings;
    const std::string temp = IncludeTrailingBackslash(PathString(std::filesystem::temp_directory_path()));
    EXPECT_NE(settings.rfind(temp + "pitwall/", 0), 0u) << settings;
    EXPECT_TRUE(settings.ends_with("/.config/pitwall/")) << settings;
#endif
}

TEST(ProgramDirectories, PortableBesideTheExecutableInstalledUnderSharePitwall)
{
    test::TempDir root, home;
    auto env = [&](const char* name) -> std::optional<std::string> {
        return std::string(name) == "HOME" ? std::optional<std::string>(home.path()) : std::nullopt;
    };

    // Installed: bin/ holds nothing of ours; the data in share/pitwall, the
    // module in lib/pitwall. Settings and TEMP go to the user's directories
    // even though the prefix is writable.
    ForceDirectories(root / "usr/bin");
    WriteLanguage(root / "usr/share/pitwall/ENGLISH.LNG");
    const std::string modules = root / ("usr/" + InstalledModuleDirectory() + "/");
    ForceDirectories(modules);
    auto located = LocateProgram(root / "usr/bin");
    EXPECT_EQ(located.layout, ProgramLayout::Installed);
    EXPECT_EQ(located.data, root / "usr/share/pitwall/");
    EXPECT_EQ(located.modules, modules);
    auto installed = ComputeProgramDirectories(root / "usr/bin/", true, env);
    EXPECT_EQ(installed.layout, ProgramLayout::Installed);
    EXPECT_EQ(installed.program, root / "usr/share/pitwall/");
    EXPECT_EQ(installed.settingsFile(), home / ".config/pitwall/PITWALL.INI");
    EXPECT_EQ(installed.working, home / ".cache/pitwall/TEMP/");
    // The same, found through the writability probe of the real folder.
    EXPECT_EQ(ComputeProgramDirectories(root / "usr/bin/", env).settings, home / ".config/pitwall/");
    // Settings shipped beside the data are read until the user's own exist.
    EXPECT_EQ(installed.settingsFileToRead(), installed.settingsFile());
    test::WriteText(root / "usr/share/pitwall/PITWALL.INI", "[General]\r\nGP3Path=/games/gp3\r\n");
    EXPECT_EQ(installed.settingsFileToRead(), root / "usr/share/pitwall/PITWALL.INI");
    test::WriteText(home / ".config/pitwall/PITWALL.INI", "[General]\r\n");
    EXPECT_EQ(installed.settingsFileToRead(), installed.settingsFile());
    // Without lib/pitwall the module is looked for beside the executable.
    DeleteTree(modules);
    EXPECT_EQ(LocateProgram(root / "usr/bin").modules, root / "usr/bin/");

    // Portable: a marker file alone (the data could even lie elsewhere), or
    // the data beside the executable (the build tree, an unpacked folder).
    test::WriteText(root / "usr/bin/portable", "");
    EXPECT_EQ(LocateProgram(root / "usr/bin").layout, ProgramLayout::Portable);
    EXPECT_EQ(LocateProgram(root / "usr/bin").data, root / "usr/bin/");
    DeleteFileForced(root / "usr/bin/portable");
    CopyFileForced(PITWALL_RUNTIME_DIR "/GP3 Palette.pal", root / "usr/bin/GP3 Palette.pal");
    auto portable = ComputeProgramDirectories(root / "usr/bin", true, env);
    EXPECT_EQ(portable.layout, ProgramLayout::Portable);
    EXPECT_EQ(portable.program, root / "usr/bin/");
    EXPECT_EQ(portable.modules, root / "usr/bin/");
    EXPECT_EQ(portable.settings, root / "usr/bin/");
    EXPECT_EQ(portable.working, root / "usr/bin/TEMP/");

    // Neither: the executable's own folder, where starting then says what is missing.
    ForceDirectories(root / "bare/bin");
    auto bare = LocateProgram(root / "bare/bin");
    EXPECT_EQ(bare.layout, ProgramLayout::Portable);
    EXPECT_EQ(bare.data, root / "bare/bin/");
}

// A portable folder that became read-only: its PITWALL.INI holds more than
// the "General" settings (the library, the recent carsets, the dialogs'
// folders, the window's place), and every one of them carries over to the
// user's own settings file, which every part of the program reads and writes.
TEST(ProgramDirectories, AReadOnlyProgramFolderHandsOverItsWholeSettingsFile)
{
    test::TempDir program, home;
    auto env = [&](const char* name) -> std::optional<std::string> {
        return std::string(name) == "HOME" ? std::optional<std::string>(home.path()) : std::nullopt;
    };
    WriteLanguage(program / "ENGLISH.LNG");
    const std::string old = "[General]\r\nGP3Path=/games/gp3/\r\nLibrary=/carsets/library/\r\n; mine\r\n"
                            "[Pathes]\r\nCarsetLoad=/carsets/\r\n[RecentCarsets]\r\nFile1=/carsets/a.GMS\r\n"
                            "[Window]\r\nMainLeft=12\r\nMainTop=34\r\n";
    test::WriteText(program / "PITWALL.INI", old);

    const ProgramDirectories d = ComputeProgramDirectories(program.path(), false, env);
    ASSERT_EQ(d.settingsFile(), home / ".config/pitwall/PITWALL.INI");
    ASSERT_TRUE(FileExists(d.settingsFile()));
    EXPECT_EQ(test::ReadText(d.settingsFile()), old);
    EXPECT_EQ(d.settingsFileToRead(), d.settingsFile());
    EXPECT_EQ(ReadRecentCarsets(d.settingsFile()), std::vector<std::string>{"/carsets/a.GMS"});
    EXPECT_EQ(ReadMainWindowPosition(d.settingsFile()), (WindowPosition{12, 34}));
    EXPECT_EQ(ChosenLibraryDirectory(d.settingsFile(), env), "/carsets/library/");
    EXPECT_EQ(RememberedDirectory(d.settingsFile(), "CarsetLoad", "/games/gp3/"), "/carsets/");

    // After a run and its exit, all of it is still there.
    Settings settings;
    ASSERT_TRUE(ReadSettings(d.settingsFileToRead(), settings));
    settings.dndTeams = true;
    WriteSettings(d.settingsFile(), settings);
    const std::string kept = test::ReadText(d.settingsFile());
    for (const char* line : {"Library=/carsets/library/", "; mine", "CarsetLoad=/carsets/", "File1=/carsets/a.GMS",
                             "MainTop=34", "DnDTeams=1"})
        EXPECT_NE(kept.find(std::string(line) + "\r\n"), std::string::npos) << line;

    // Once the user has a settings file of their own, it is never replaced.
    test::WriteText(program / "PITWALL.INI", "[General]\r\nGP3Path=/elsewhere/\r\n");
    ComputeProgramDirectories(program.path(), false, env);
    EXPECT_EQ(test::ReadText(d.settingsFile()), kept);
    // A writable portable folder keeps its settings where they are.
    EXPECT_EQ(ComputeProgramDirectories(program.path(), true, env).settingsFile(), program / "PITWALL.INI");
}

TEST(ProgramState, StartRemovesALeftOverWorkingDirectoryAndShutdownWritesSettings)
{
    test::TempDir program;
    WriteLanguage(program / "ENGLISH.LNG");
    CopyFileForced(PITWALL_RUNTIME_DIR "/GP3 Palette.pal", program / "GP3 Palette.pal");
    test::WriteText(program / "PITWALL.INI", "[general]\r\ngp3path=/games/gp3\r\nlanguage=english.lng\r\n");
    // A crashed run left read-only files behind.
    test::WriteText(program / "TEMP/Carset/stale.DAT", "s");
    test::WriteText(program / "TEMP/TeamsDrivers.DAT", "t");
    SetReadOnly(program / "TEMP/TeamsDrivers.DAT", true);
    SetReadOnly(program / "TEMP/Carset/stale.DAT", true);

    ProgramState state;
    test::RecordingMessages sink;
    ASSERT_EQ(StartProgram(state, program.path(), sink), StartupOutcome::Ready);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_NE(state.palette.color(15), state.palette.color(0)); // the game palette is loaded
    const std::string gameFolder = std::string("/games/gp3") + kPathSeparator; // the separator added
    EXPECT_EQ(state.settings.gameDirectory, gameFolder);
    EXPECT_TRUE(state.settings.firstTime);
    EXPECT_EQ(state.settings.languageFile, "ENGLISH.LNG");
    EXPECT_EQ(state.texts.text(12), "text 12");
    EXPECT_FALSE(FileExists(program / "TEMP/TeamsDrivers.DAT"));
    EXPECT_FALSE(FileExists(program / "TEMP/Carset/stale.DAT"));
    EXPECT_TRUE(DirectoryExists(program / "TEMP/Carset"));

    state.settings.dndTeams = true;
    ShutdownCleanup(state, sink);
    EXPECT_FALSE(DirectoryExists(program / "TEMP"));
    IniFile ini;
    ini.load(program / "PITWALL.INI");
    EXPECT_EQ(ini.readString("General", "DnDTeams", ""), "1");
    EXPECT_EQ(ini.readString("General", "FirstTime", ""), "0");
    // Only what the run changed is written: the folder stays as spelled.
    EXPECT_EQ(ini.readString("General", "GP3Path", ""), "/games/gp3");
}

TEST(ProgramState, WithoutLanguageFilesTheProgramCannotStart)
{
    test::TempDir program;
    ProgramState state;
    test::RecordingMessages sink;
    EXPECT_EQ(StartProgram(state, program.path(), sink), StartupOutcome::NoLanguageFiles);
    ASSERT_EQ(sink.shown.size(), 1u);

    // Without its palette file the program starts and says which file is missing.
    WriteLanguage(program / "ENGLISH.LNG");
    test::RecordingMessages later;
    EXPECT_EQ(StartProgram(state, program.path(), later), StartupOutcome::Ready);
    EXPECT_EQ(later.numbers(), std::vector<int>{349});
}

TEST(ProgramState, AWorkingDirectoryPlantedByOthersIsNeverUsed)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    test::TempDir program;
    WriteLanguage(program / "ENGLISH.LNG");
    CopyFileForced(PITWALL_RUNTIME_DIR "/GP3 Palette.pal", program / "GP3 Palette.pal");
    // TEMP is a link to somebody else's directory.
    test::WriteText(program / "theirs/keep.DAT", "k");
    ASSERT_EQ(::symlink((program / "theirs").c_str(), (program / "TEMP").c_str()), 0);

    ProgramState state;
    test::RecordingMessages sink;
    ASSERT_EQ(StartProgram(state, program.path(), sink), StartupOutcome::Ready);
    EXPECT_EQ(test::ReadText(program / "theirs/keep.DAT"), "k");
    EXPECT_FALSE(DirectoryExists(program / "theirs/Carset"));
    for (const char* dir : {"TEMP", "TEMP/Carset"}) {
        struct stat st {};
        ASSERT_EQ(::lstat((program / dir).c_str(), &st), 0) << dir;
        EXPECT_TRUE(S_ISDIR(st.st_mode)) << dir;
        EXPECT_EQ(st.st_mode & 07777, 0700u) << dir;
    }

    // Something in the way that cannot be removed as a tree is reported, and
    // the program does not start on it.
    DeleteTree(program / "TEMP");
    test::WriteText(program / "TEMP", "a file");
    test::RecordingMessages refused;
    EXPECT_EQ(StartProgram(state, program.path(), refused), StartupOutcome::NoWorkingDirectory);
    ASSERT_EQ(refused.shown.size(), 1u);
    EXPECT_NE(refused.shown[0].text.find(program / "TEMP"), std::string::npos) << refused.shown[0].text;
#endif
}

TEST(ProgramState, InstancesOnOneProgramFolderKeepTheirOwnWorkingFiles)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFork;
#else
    test::TempDir program;
    WriteLanguage(program / "ENGLISH.LNG");
    CopyFileForced(PITWALL_RUNTIME_DIR "/GP3 Palette.pal", program / "GP3 Palette.pal");
    test::RecordingMessages sink;

    ProgramState first;
    ASSERT_EQ(StartProgram(first, program.path(), sink), StartupOutcome::Ready);
    EXPECT_EQ(first.directories.working, program / "TEMP/");
    test::WriteText(first.directories.working + "SoundWork.wav", "first");

    // Another process started from the same folder works beside it and
    // leaves the first one's files alone.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ProgramState other;
        test::RecordingMessages quiet;
        bool ok = StartProgram(other, program.path(), quiet) == StartupOutcome::Ready
            && other.directories.working == program / "TEMP-2/" && DirectoryExists(other.directories.staging)
            && FileExists(program / "TEMP/SoundWork.wav");
        ShutdownCleanup(other, quiet);
        ::_exit(ok && !DirectoryExists(program / "TEMP-2") ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(test::ReadText(program / "TEMP/SoundWork.wav"), "first");

    // A second instance in this process as well; a crashed instance's
    // leftover (TEMP-5, nobody holds it) goes when the next one starts,
    // a running one's (TEMP-2) stays.
    ProgramState second;
    ASSERT_EQ(StartProgram(second, program.path(), sink), StartupOutcome::Ready);
    EXPECT_EQ(second.directories.working, program / "TEMP-2/");
    EXPECT_EQ(second.directories.staging, program / "TEMP-2/Carset/");
    test::WriteText(second.directories.working + "Loading3.bmp", "second");
    test::WriteText(program / "TEMP-5/Carset/stale.DAT", "s");
    ProgramState third;
    ASSERT_EQ(StartProgram(third, program.path(), sink), StartupOutcome::Ready);
    EXPECT_EQ(third.directories.working, program / "TEMP-3/");
    EXPECT_FALSE(DirectoryExists(program / "TEMP-5"));
    EXPECT_EQ(test::ReadText(program / "TEMP/SoundWork.wav"), "first");
    EXPECT_EQ(test::ReadText(program / "TEMP-2/Loading3.bmp"), "second");

    // Each removes only its own directory on the way out; the folder's TEMP
    // is free again for the next start.
    ShutdownCleanup(first, sink);
    EXPECT_FALSE(DirectoryExists(program / "TEMP"));
    EXPECT_EQ(test::ReadText(program / "TEMP-2/Loading3.bmp"), "second");
    ProgramState fourth;
    ASSERT_EQ(StartProgram(fourth, program.path(), sink), StartupOutcome::Ready);
    EXPECT_EQ(fourth.directories.working, program / "TEMP/");
    EXPECT_EQ(test::ReadText(program / "TEMP-2/Loading3.bmp"), "second");
    for (ProgramState* s : {&second, &third, &fourth})
        ShutdownCleanup(*s, sink);
    EXPECT_FALSE(DirectoryExists(program / "TEMP-2"));
    EXPECT_TRUE(sink.shown.empty());
#endif
}
