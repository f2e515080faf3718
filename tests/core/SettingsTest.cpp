#include "TestSupport.h"

#include "app/IniFile.h"
#include "app/RecentCarsets.h"
#include "app/Settings.h"
#include "app/WindowPosition.h"
#include "base/FileUtils.h"
#include "transfer/CarsetLibrary.h"
#include "transfer/FileChoice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace pitwall;

TEST(IniFile, WindowsProfileSemantics)
{
    IniFile ini;
    ini.parse("; comment\r\n[general]\r\n  gp3path = C:\\GP3\\  \r\nLANGUAGE=\"DEUTSCH.LNG\"\r\nShowExportOK=0\r\n"
              "ShowExportOK=1\r\nnot a key\r\n[Pathes]\r\nC:\\Carsets\\=C:\\Carsets\\Old\\\r\n");
    EXPECT_EQ(ini.readString("General", "GP3Path", ""), "C:\\GP3\\");
    EXPECT_EQ(ini.readString("GENERAL", "language", ""), "DEUTSCH.LNG"); // quotes removed
    EXPECT_FALSE(ini.readBool("General", "ShowExportOK", true));         // the first of two wins
    EXPECT_EQ(ini.readString("General", "Missing", "fallback"), "fallback");
    EXPECT_EQ(ini.readString("Nowhere", "GP3Path", "x"), "x");
    EXPECT_EQ(ini.readString("pathes", "c:\\carsets\\", ""), "C:\\Carsets\\Old\\");

    ini.parse("[a]\nn1=42\nn2=-7\nn3=$1F\nn4=0x10\nn5=12abc\nn6=\n");
    EXPECT_EQ(ini.readInteger("a", "n1", 0), 42);
    EXPECT_EQ(ini.readInteger("a", "n2", 0), -7);
    EXPECT_EQ(ini.readInteger("a", "n3", 0), 31);
    EXPECT_EQ(ini.readInteger("a", "n4", 0), 16);
    EXPECT_EQ(ini.readInteger("a", "n5", 5), 5);
    EXPECT_EQ(ini.readInteger("a", "n6", 6), 6);
}

TEST(IniFile, WritesKeepEverythingElse)
{
    IniFile ini;
    ini.parse("; keep me\r\n[General]\r\nGP3Path=C:\\GP3\\\r\nDndTeams=0\r\n\r\n[Pathes]\r\nCarsetLoad=C:\\\r\n");
    ini.writeString("general", "DnDTeams", "1"); // replaces, whatever the case
    ini.writeString("General", "Language", "X"); // appended to its section
    ini.writeString("Other", "Key", "v");        // new section at the end
    EXPECT_EQ(ini.text(),
              "; keep me\r\n[General]\r\nGP3Path=C:\\GP3\\\r\nDnDTeams=1\r\nLanguage=X\r\n\r\n"
              "[Pathes]\r\nCarsetLoad=C:\\\r\n[Other]\r\nKey=v\r\n");
    EXPECT_EQ(ini.keyNames("GENERAL"), (std::vector<std::string>{"GP3Path", "DnDTeams", "Language"}));

    // A file far beyond any settings file (here bare line breaks, each of
    // which would be kept as a line) is not read.
    test::TempDir dir;
    test::WriteText(dir / "PITWALL.INI", "[General]\r\nLanguage=X\r\n" + std::string(300 * 1024, '\n'));
    EXPECT_FALSE(ini.load(dir / "PITWALL.INI"));
}

// The carset save dialog remembers its folder under the program's own path;
// a path with a "=" in it was cut there on reading, never found again, and
// [Pathes] gained another line at every save.
TEST(IniFile, EveryKeyReadsBackAsWritten)
{
    test::TempDir dir;
    const std::string path = dir / "PITWALL.INI";
    // As older files have it: a path as the key, ending at the first "=".
    test::WriteText(path, "[Pathes]\r\nC:\\Carsets\\=C:\\Carsets\\Old\\\r\n");
    const std::vector<std::string> keys = {"/opt/pit=wall/", "a\"=b",        "\"quoted\"", " padded ",
                                           ";no comment",    "[no section]", "Plain"};
    for (const char* folder : {"/first/", "/second/"})
        for (const auto& key : keys)
            RememberDirectory(path, key, std::string(folder) + "Carset.GMS");
    IniFile ini;
    ASSERT_TRUE(ini.load(path));
    for (const auto& key : keys)
        EXPECT_EQ(ini.readString("Pathes", key, ""), "/second/") << key;
    EXPECT_EQ(ini.keyNames("Pathes").size(), keys.size() + 1);
    EXPECT_EQ(ini.readString("Pathes", "c:\\carsets\\", ""), "C:\\Carsets\\Old\\");
    EXPECT_EQ(RememberedDirectory(path, "/opt/pit=wall/", "/game/"), "/second/");
    // Only keys that need them get quotes.
    const std::string text = test::ReadText(path);
    EXPECT_NE(text.find("\r\n\"/opt/pit=wall/\"=/second/\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nPlain=/second/\r\n"), std::string::npos) << text;
}

// A value loses its blanks at either end and one pair of enclosing quotes on
// reading; a start command that quotes both the program and an argument came
// back as /opt/my wine/bin/wine" "--x=a b.
TEST(IniFile, EveryValueReadsBackAsWritten)
{
    test::TempDir dir;
    const std::string path = dir / "PITWALL.INI";
    Settings settings;
    settings.startCommand = "\"/opt/my wine/bin/wine\" \"--x=a b\"";
    WriteSettings(path, settings);
    Settings back;
    ASSERT_TRUE(ReadSettings(path, back));
    EXPECT_EQ(back.startCommand, settings.startCommand);
    // One more pair of the same quotes, as Windows reads it too.
    EXPECT_NE(test::ReadText(path).find("\r\nStartCommand=\"\"/opt/my wine/bin/wine\" \"--x=a b\"\"\r\n"),
              std::string::npos);

    const std::vector<std::string> values = {"'single'", "\"\"",     " blank edged ", "\t",   "\"",
                                             "\"half",   "'mixed\"", "\"a\" ",        "plain"};
    IniFile ini;
    for (std::size_t i = 0; i < values.size(); ++i)
        ini.writeString("Values", std::to_string(i), values[i]);
    IniFile reread;
    reread.parse(ini.text());
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(reread.readString("Values", std::to_string(i), "?"), values[i]) << values[i];
    EXPECT_NE(ini.text().find("\r\n8=plain\r\n"), std::string::npos);
}

// Saving what the file already holds leaves the file alone (the program
// saves its settings at every start and end); anything else replaces it.
TEST(IniFile, SavingTheSameTextLeavesTheFileAlone)
{
    test::TempDir dir;
    const std::string path = dir / "PITWALL.INI";
    IniFile ini;
    ini.parse("[General]\r\nGP3Path=C:\\GP3\\\r\n");
    ini.save(path);
    // Whole seconds: Windows keeps file times in steps of 100 ns.
    const auto old = std::chrono::floor<std::chrono::seconds>(std::filesystem::file_time_type::clock::now() -
                                                               std::chrono::hours(24 * 400));
    std::filesystem::last_write_time(path, old);
    ini.save(path);
    EXPECT_EQ(std::filesystem::last_write_time(path), old);
    ini.writeString("General", "FirstTime", "0");
    ini.save(path);
    EXPECT_NE(std::filesystem::last_write_time(path), old);
    IniFile again;
    ASSERT_TRUE(again.load(path));
    EXPECT_EQ(again.text(), ini.text());
}

// A settings file the program cannot read (here one too large to be a
// settings file, with the user's own comments and keys) is never replaced by
// the few keys a writer sets: every writer of PITWALL.INI leaves it as it is
// and says so where it can.
TEST(Settings, AFileThatCannotBeReadIsNeverWrittenOver)
{
    test::TempDir dir;
    const std::string ini = dir / "PITWALL.INI";
    const std::string big = "[General]\r\nGP3Path=/games/gp3/\r\n; " + std::string(300 * 1024, 'x') + "\r\n";
    test::WriteText(ini, big);

    IniFile profile;
    EXPECT_FALSE(profile.load(ini));
    profile.writeString("General", "Language", "ENGLISH.LNG");
    EXPECT_THROW(profile.save(ini), std::runtime_error);

    Settings settings;
    EXPECT_FALSE(ReadSettings(ini, settings));
    settings.gameDirectory = "/other/gp3/";
    try {
        WriteSettings(ini, settings);
        ADD_FAILURE() << "the settings were written over the file";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(ini), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("could not be read"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(RememberRecentCarset(ini, "/carsets/a.GMS"));
    EXPECT_THROW(WriteMainWindowPosition(ini, {10, 20}), std::runtime_error);
    EXPECT_THROW(WriteLibrarySetting(ini, "/library/"), std::runtime_error);
    RememberDirectory(ini, "CarsetLoad", "/carsets/a.GMS");
    EXPECT_TRUE(test::ReadText(ini) == big); // not printed: 300 KB

#ifndef _WIN32
    // Nor is something of that name that is not a file (here a pipe).
    const std::string pipe = dir / "pipe.INI";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    IniFile notAFile;
    EXPECT_FALSE(notAFile.load(pipe));
    notAFile.writeString("General", "Language", "ENGLISH.LNG");
    EXPECT_THROW(notAFile.save(pipe), std::runtime_error);
    struct stat st {};
    ASSERT_EQ(::lstat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
#endif

    // A file that is not there yet is simply created.
    const std::string fresh = dir / "fresh/PITWALL.INI";
    ForceDirectories(dir / "fresh");
    WriteMainWindowPosition(fresh, {10, 20});
    EXPECT_EQ(ReadMainWindowPosition(fresh), (WindowPosition{10, 20}));
}

// An editor that saves UTF-8 with a byte-order mark put it in front of the
// first section's header, which then went unseen: the settings read as none,
// and the next write appended a second [General].
TEST(Settings, AByteOrderMarkHidesNoSection)
{
    test::TempDir dir;
    const std::string ini = dir / "PITWALL.INI";
    test::WriteText(ini,
                    "\xEF\xBB\xBF[General]\r\nGP3Path=/games/gp3/\r\nRestorePoints=3\r\n[Pathes]\r\n"
                    "CarsetLoad=/carsets/\r\n");
    Settings settings;
    ASSERT_TRUE(ReadSettings(ini, settings));
    EXPECT_EQ(settings.gameDirectory, "/games/gp3/");
    EXPECT_EQ(settings.restorePointsKept, 3);
    settings.dndTeams = true;
    WriteSettings(ini, settings);
    const std::string text = test::ReadText(ini);
    EXPECT_EQ(text.rfind("\xEF\xBB\xBF[General]\r\nGP3Path=/games/gp3/\r\n", 0), 0u) << text;
    EXPECT_EQ(text.find("[General]", 4), std::string::npos) << text;
    EXPECT_EQ(RememberedDirectory(ini, "CarsetLoad", "/games/gp3/"), "/carsets/");
}

TEST(Settings, WithoutFileEverythingKeepsItsInitialValue)
{
    test::TempDir dir;
    Settings s;
    EXPECT_FALSE(ReadSettings(dir / "PITWALL.INI", s));
    EXPECT_FALSE(s.firstTime);
    EXPECT_FALSE(s.showExportOK);
    EXPECT_FALSE(FileExists(dir / "PITWALL.INI"));
}

TEST(Settings, FirstTimeIsClearedInTheFileAtOnce)
{
    test::TempDir dir;
    std::string ini = dir / "PITWALL.INI";
    test::WriteText(ini, "[General]\r\nGP3Path=/games/gp3/\r\n");
    SetReadOnly(ini, true);

    Settings s;
    ASSERT_TRUE(ReadSettings(ini, s));
    EXPECT_TRUE(s.firstTime);    // missing key inside a file: true
    EXPECT_TRUE(s.showExportOK); // likewise
    EXPECT_EQ(s.gameDirectory, "/games/gp3/");
    IniFile written;
    written.load(ini);
    EXPECT_EQ(written.readString("General", "FirstTime", ""), "0");

    Settings again;
    ReadSettings(ini, again);
    EXPECT_FALSE(again.firstTime);
}

TEST(Settings, WrittenKeysAreFoundAgainAndInOrder)
{
    test::TempDir dir;
    std::string ini = dir / "PITWALL.INI";
    Settings s;
    s.gameDirectory = "/home/user/.wine/drive_c/GP3/";
    s.languageFile = "DEUTSCH.LNG";
    s.alwaysImport = true;
    s.dndTeams = true;
    s.dndTracks = false;
    s.showExportOK = true;
    WriteSettings(ini, s);
    EXPECT_EQ(test::ReadText(ini),
              "[General]\r\nGP3Path=/home/user/.wine/drive_c/GP3/\r\nAlwaysImport=1\r\n"
              "Language=DEUTSCH.LNG\r\nDnDTeams=1\r\nDnDTracks=0\r\nShowExportOK=1\r\n");
    Settings back;
    ASSERT_TRUE(ReadSettings(ini, back));
    EXPECT_EQ(back.gameDirectory, s.gameDirectory);
    EXPECT_EQ(back.languageFile, s.languageFile);
    EXPECT_TRUE(back.alwaysImport);
    EXPECT_TRUE(back.dndTeams); // written DnDTeams, read DndTeams
    EXPECT_FALSE(back.dndTracks);

    // Writing again updates in place and keeps the dialogs' remembered paths.
    IniFile withPaths;
    withPaths.load(ini);
    withPaths.writeString("Pathes", "CarsetLoad", "/carsets/");
    withPaths.save(ini);
    s.dndTeams = false;
    WriteSettings(ini, s);
    IniFile after;
    after.load(ini);
    EXPECT_EQ(after.readString("Pathes", "CarsetLoad", ""), "/carsets/");
    EXPECT_EQ(after.readString("General", "DndTeams", ""), "0");
    EXPECT_EQ(after.keyNames("General").size(), 7u); // six keys plus FirstTime

    // The start command is written once set, and cleared in place.
    s.startCommand = "flatpak run org.winehq.Wine";
    WriteSettings(ini, s);
    Settings withCommand;
    ASSERT_TRUE(ReadSettings(ini, withCommand));
    EXPECT_EQ(withCommand.startCommand, s.startCommand);
    s.startCommand.clear();
    WriteSettings(ini, s);
    Settings cleared;
    ASSERT_TRUE(ReadSettings(ini, cleared));
    EXPECT_EQ(cleared.startCommand, "");
}

TEST(Settings, GameFoldersAreKeptBesideTheFolderInUse)
{
    test::TempDir dir;
    const std::string ini = dir / "PITWALL.INI";
    // A file from before the list: its folder becomes the list's first.
    test::WriteText(ini, "[General]\r\nGP3Path=/games/gp3/\r\n");
    Settings settings;
    ASSERT_TRUE(ReadSettings(ini, settings));
    EXPECT_EQ(settings.gameDirectories, std::vector<std::string>{"/games/gp3/"});

    RememberGameDirectory(settings, "/wine/GP3/");
    RememberGameDirectory(settings, "/wine/GP3"); // the same, listed once
    RememberGameDirectory(settings, "");
    settings.gameDirectory = "/wine/GP3/";
    WriteSettings(ini, settings);
    Settings again;
    ASSERT_TRUE(ReadSettings(ini, again));
    EXPECT_EQ(again.gameDirectory, "/wine/GP3/");
    EXPECT_EQ(again.gameDirectories, (std::vector<std::string>{"/games/gp3/", "/wine/GP3/"}));

    // A shorter list leaves no stale entries behind.
    again.gameDirectories = {"/wine/GP3/"};
    WriteSettings(ini, again);
    const std::string text = test::ReadText(ini);
    EXPECT_NE(text.find("Path1=/wine/GP3/"), std::string::npos);
    EXPECT_EQ(text.find("Path2"), std::string::npos);
}

// Two instances on one settings file: the one ending last writes what it
// changed, not every value as it read it at its start.
TEST(Settings, TheInstanceEndingLastKeepsTheOthersChanges)
{
    test::TempDir dir;
    const std::string ini = dir / "PITWALL.INI";
    test::WriteText(ini, "[General]\r\nGP3Path=/games/gp3/\r\nShowExportOK=1\r\nLanguage=ENGLISH.LNG\r\n");
    Settings first, second;
    ASSERT_TRUE(ReadSettings(ini, first));
    ASSERT_TRUE(ReadSettings(ini, second));
    const Settings firstAsRead = first, secondAsRead = second;

    second.showExportOK = false;
    second.startCommand = "wine GP3.EXE";
    RememberGameDirectory(second, "/wine/GP3/");
    WriteSettings(ini, second, &secondAsRead);
    first.languageFile = "DEUTSCH.LNG";
    RememberGameDirectory(first, "/other/gp3/");
    first.gameDirectories.erase(first.gameDirectories.begin()); // "/games/gp3/" removed
    WriteSettings(ini, first, &firstAsRead);

    Settings now;
    ASSERT_TRUE(ReadSettings(ini, now));
    EXPECT_FALSE(now.showExportOK);
    EXPECT_EQ(now.startCommand, "wine GP3.EXE");
    EXPECT_EQ(now.languageFile, "DEUTSCH.LNG");
    EXPECT_EQ(now.gameDirectory, "/games/gp3/");
    // The folder in use is listed whatever the list says.
    EXPECT_EQ(now.gameDirectories, (std::vector<std::string>{"/wine/GP3/", "/other/gp3/", "/games/gp3/"}));
    const std::string text = test::ReadText(ini);
    EXPECT_EQ(text.find("Path3"), std::string::npos) << text;
}

// A file from before the game folder list takes the whole list; a settings
// file linked from a folder of the user's stays linked.
TEST(Settings, AnOlderFileTakesTheWholeListAndALinkStays)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir / "dotfiles");
    const std::string real = dir / "dotfiles/PITWALL.INI", ini = dir / "PITWALL.INI";
    test::WriteText(real, "[General]\r\nGP3Path=/a/\r\n");
#ifndef _WIN32
    std::filesystem::create_symlink("dotfiles/PITWALL.INI", ini);
#else
    std::filesystem::copy_file(real, ini);
#endif
    Settings settings;
    ASSERT_TRUE(ReadSettings(ini, settings));
    const Settings asRead = settings;
    RememberGameDirectory(settings, "/c/");
    settings.gameDirectory = "/c/";
    WriteSettings(ini, settings, &asRead);
    Settings again;
    ASSERT_TRUE(ReadSettings(ini, again));
    EXPECT_EQ(again.gameDirectories, (std::vector<std::string>{"/a/", "/c/"}));
#ifndef _WIN32
    EXPECT_TRUE(std::filesystem::is_symlink(ini));
    EXPECT_NE(test::ReadText(real).find("GP3Path=/c/"), std::string::npos);
#endif
}
