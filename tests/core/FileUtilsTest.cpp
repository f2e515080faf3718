#include "TestSupport.h"

#include "app/GameRegistry.h"
#include "base/FileHash.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "base/Messages.h"
#include "base/PrivateFile.h"
#include "base/SafeWrite.h"
#include "base/UITexts.h"
#include "base/Windows1252.h"
#include "transfer/FileChoice.h"

#include <filesystem>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace pitwall;
namespace fs = std::filesystem;

TEST(FileUtils, PathsAndNames)
{
    EXPECT_EQ(IncludeTrailingBackslash(""), "");
    EXPECT_EQ(IncludeTrailingBackslash("/gp3"), std::string("/gp3") + kPathSeparator);
    EXPECT_EQ(IncludeTrailingBackslash("/gp3/"), "/gp3/");
    EXPECT_EQ(BaseFileName("/a/b/WILLIA98.JAM"), "WILLIA98");
    EXPECT_EQ(BaseFileName("archive.tar.gz"), "archive.tar");
    EXPECT_EQ(ExtensionOf("/x.y/noext"), "");
    EXPECT_TRUE(MatchesMask("ENGLISH.lng", "*.LNG"));
    EXPECT_TRUE(MatchesMask("noext", "*.*"));
    EXPECT_TRUE(MatchesMask("F1CT01.DAT", "F1CT??.DAT"));
    EXPECT_FALSE(MatchesMask("F1CT1.DAT", "F1CT??.DAT"));
    EXPECT_FALSE(MatchesMask("ENGLISH.LNG.bak", "*.LNG"));
}

// Windows makes UTF-16 of every path and throws on bytes that are not UTF-8,
// such as a game folder in a PITWALL.INI an editor saved as ANSI: those are
// read as Windows-1252 instead, the way that editor wrote them.
TEST(FileUtils, PathTextThatIsNotUtf8IsTakenAsWindows1252)
{
    EXPECT_EQ(PathTextAsUtf8("D:\\Spiele\\J\xFCrgen\\"), "D:\\Spiele\\J\xC3\xBCrgen\\");
    EXPECT_EQ(PathTextAsUtf8("D:\\Spiele\\J\xC3\xBCrgen\\"), "D:\\Spiele\\J\xC3\xBCrgen\\");
    EXPECT_EQ(PathTextAsUtf8("/plain/ascii/"), "/plain/ascii/");
    EXPECT_EQ(PathTextAsUtf8("/\xCE\x95\xE2\x9C\x93\xF0\x9F\x8F\x81/"), "/\xCE\x95\xE2\x9C\x93\xF0\x9F\x8F\x81/");
    // The system's own folder in UTF-8, joined with a name from such a file.
    EXPECT_EQ(PathTextAsUtf8("/home/\xCE\x95/J\xFCrgen/"), "/home/\xCE\x95/J\xC3\xBCrgen/");
    // Sequences Windows refuses as well: cut short, overlong, a surrogate,
    // beyond U+10FFFF.
    for (std::string_view bad : {"a\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"})
        EXPECT_EQ(PathTextAsUtf8(bad), Windows1252ToUtf8(bad)) << bad;
    EXPECT_NO_THROW(FileExists("D:\\Spiele\\J\xFCrgen\\GP3.EXE"));
}

TEST(FileUtils, SamePlaceComparesPlacesNotSpellings)
{
    test::TempDir dir;
    ForceDirectories(dir / "a/b");
    EXPECT_TRUE(SamePlace(NativePath(dir / "a"), NativePath(dir / "a/b/..")));
    EXPECT_TRUE(SamePlace(NativePath(dir / "a"), NativePath(IncludeTrailingBackslash(dir / "a"))));
    EXPECT_FALSE(SamePlace(NativePath(dir / "a"), NativePath(dir / "a/b")));
    // Paths that name no place are never the same place, not even as each other.
    EXPECT_FALSE(SamePlace("", ""));
#ifndef _WIN32
    // Relative names once the working folder is gone cannot be placed either.
    const fs::path before = fs::current_path();
    ForceDirectories(dir / "gone");
    fs::current_path(NativePath(dir / "gone"));
    fs::remove(NativePath(dir / "gone"));
    const bool same = SamePlace("CIRCUITS", "SAVEGAME");
    fs::current_path(before);
    EXPECT_FALSE(same);
#endif
}

TEST(FileUtils, CheckFileExtension)
{
    UITexts texts;
    texts.assign({}, "");
    test::RecordingMessages sink;
    Messenger messenger(texts, sink);
    EXPECT_EQ(CheckFileExtension("my.gms", {".GMS"}, true, &messenger), 0);
    EXPECT_EQ(CheckFileExtension("pic.JPG", {".BMP", ".JPG"}, true, &messenger), 1);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(CheckFileExtension("pic.png", {".BMP", ".JPG"}, false, &messenger), -1);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(CheckFileExtension("pic", {".BMP"}, true, &messenger), -1);
    EXPECT_EQ(sink.numbers(), std::vector<int>{985});
}

TEST(FileUtils, ListFilesPutsEveryDirectoryAfterItsContents)
{
    test::TempDir dir;
    test::WriteText(dir / "b.txt", "b");
    test::WriteText(dir / "a/x.txt", "x");
    test::WriteText(dir / "a/sub/y.txt", "y");
    ForceDirectories(dir / "empty");
    std::string s(1, kPathSeparator);
    auto all = ListFiles(dir.path(), "*.*", true, true);
    std::vector<std::string> expected = {dir / "a/sub/y.txt", dir / "a/sub/", dir / "a/x.txt", dir / "a/",
                                         dir / "b.txt",       dir / "empty/", dir.path()};
    EXPECT_EQ(all, expected);
    EXPECT_EQ(ListFiles(dir.path(), "*.txt", false, false), std::vector<std::string>{dir / "b.txt"});
    EXPECT_TRUE(ListFiles(dir / "missing", "*.*", true, true).empty());
}

TEST(FileUtils, DeleteTreeRemovesReadOnlyTreesButNeverFollowsLinks)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    test::TempDir dir;
    test::TempDir outside;
    test::WriteText(outside / "precious.txt", "keep");
    std::string tree = dir / "TEMP/";
    test::WriteText(tree + "Carset/member.DAT", "m");
    test::WriteText(tree + "ro.DAT", "r");
    ForceDirectories(tree + "empty/deeper");
    fs::create_directory_symlink(NativePath(outside.path()), NativePath(tree + "link"));
    SetReadOnly(tree + "ro.DAT", true);
    SetReadOnly(tree + "Carset/member.DAT", true);
    SetReadOnly(tree + "Carset", true);
    SetReadOnly(tree + "empty/deeper", true);

    DeleteTree(tree);
    EXPECT_FALSE(fs::exists(NativePath(tree)));
    EXPECT_EQ(test::ReadText(outside / "precious.txt"), "keep");

    // A link given as the tree itself is removed as a link.
    fs::create_directory_symlink(NativePath(outside.path()), NativePath(dir / "alias"));
    DeleteTree(dir / "alias");
    EXPECT_FALSE(fs::exists(fs::symlink_status(NativePath(dir / "alias"))));
    EXPECT_EQ(test::ReadText(outside / "precious.txt"), "keep");
    DeleteTree(dir / "never-existed"); // silent
#endif
}

TEST(FileUtils, CopyingOverReadOnlyTargets)
{
    test::TempDir dir;
    test::WriteText(dir / "src/GP3JAMS/a.jam", "AAAA");
    test::WriteText(dir / "src/GP3JAMS/Liveries/b.jam", "BB");
    test::WriteText(dir / "src/other.txt", "o");
    test::WriteText(dir / "dst/GP3JAMS/a.jam", "old");
    SetReadOnly(dir / "dst/GP3JAMS/a.jam", true);

    CopyTree(dir / "src/GP3JAMS", dir / "dst/GP3JAMS", "*.*");
    EXPECT_EQ(test::ReadText(dir / "dst/GP3JAMS/a.jam"), "AAAA");
    EXPECT_EQ(test::ReadText(dir / "dst/GP3JAMS/Liveries/b.jam"), "BB");
    EXPECT_FALSE(FileExists(dir / "dst/other.txt"));

    EXPECT_FALSE(CopyFileForced(dir / "missing", dir / "dst/x"));
    EXPECT_TRUE(CopyFileForced(dir / "src/other.txt", dir / "new/dir/o.txt"));

    SetReadOnly(dir / "new/dir/o.txt", true);
    DeleteFileForced(dir / "new/dir/o.txt");
    EXPECT_FALSE(FileExists(dir / "new/dir/o.txt"));

    EXPECT_EQ(FileSizeOf(dir / "src/GP3JAMS/a.jam"), 4u);
    EXPECT_EQ(FileSizeOf(dir / "src/GP3JAMS"), 0u);
    EXPECT_EQ(FileSizeOf(dir / "nothing"), 0u);
    EXPECT_EQ(TotalSizeOf(dir / "src/GP3JAMS/*.jam"), 4u); // not recursive
}

#ifndef _WIN32
// Files written for the user (a sound or picture copied out of the working
// directory, a saved text file) get the user's usual permissions; the
// program's own working files stay owner-only.
TEST(FileUtils, FilesForTheUserGetTheUsualPermissions)
{
    test::TempDir dir;
    const mode_t previous = ::umask(022);
    auto modeOf = [](const std::string& file) {
        return static_cast<int>(fs::status(NativePath(file)).permissions() & fs::perms::mask);
    };
    WriteNewPrivateFile(dir / "work.WAV", std::vector<std::uint8_t>{1, 2, 3});
    EXPECT_EQ(modeOf(dir / "work.WAV"), 0600);
    EXPECT_TRUE(CopyFileForced(dir / "work.WAV", dir / "out/sound.WAV"));
    EXPECT_EQ(modeOf(dir / "out/sound.WAV"), 0644);
    WriteWholeFile(dir / "out/texts.TXT", std::vector<std::uint8_t>{'a'});
    EXPECT_EQ(modeOf(dir / "out/texts.TXT"), 0644);
    // A read-only source still gives a read-only copy.
    SetReadOnly(dir / "work.WAV", true);
    EXPECT_TRUE(CopyFileForced(dir / "work.WAV", dir / "out/locked.WAV"));
    EXPECT_TRUE(IsReadOnly(dir / "out/locked.WAV"));
    ::umask(previous);
}
#endif

TEST(FileUtils, OpenGameFileReportsMissingFilesWith349)
{
    test::TempDir dir;
    UITexts texts;
    texts.assign(std::vector<std::string>(350, "x"), "");
    std::vector<std::string> t = texts.all();
    t[349] = "File not found: %s";
    texts.assign(t, "");
    test::RecordingMessages sink;
    Messenger messenger(texts, sink);
    EXPECT_FALSE(OpenGameFile(dir / "GP3.EXE", true, &messenger));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].number, 349);
    EXPECT_EQ(sink.shown[0].text, "File not found: " + (dir / "GP3.EXE"));
    EXPECT_FALSE(OpenGameFile(dir / "GP3.EXE", false, &messenger));
    EXPECT_EQ(sink.shown.size(), 1u);

    test::WriteText(dir / "GP3.EXE", "MZ");
    SetReadOnly(dir / "GP3.EXE", true);
    EXPECT_TRUE(OpenGameFile(dir / "GP3.EXE", true, &messenger));
    EXPECT_FALSE(IsReadOnly(dir / "GP3.EXE"));
}

TEST(FileUtils, PatchFileKeepsTheRestAndRefusesToGrowTheFile)
{
    test::TempDir dir;
    test::WriteText(dir / "f.bin", "abcdef");
    std::vector<std::uint8_t> xy = {'X', 'Y'};
    PatchFile(dir / "f.bin", 2, xy);
    EXPECT_EQ(test::ReadText(dir / "f.bin"), "abXYef");
    EXPECT_THROW(PatchFile(dir / "f.bin", 5, xy), std::runtime_error);
    EXPECT_THROW(PatchFile(dir / "none.bin", 0, xy), std::runtime_error);
    EXPECT_EQ(test::ReadText(dir / "f.bin"), "abXYef");
    EXPECT_FALSE(FileExists(dir / "none.bin"));
}

TEST(FileUtils, ReadersRefuseFoldersAndPipesWithoutWaiting)
{
    test::TempDir dir;
    fs::create_directories(fs::path(dir / "folder.GMS"));
    EXPECT_EQ(WhyNotAFile(dir / "none.GMS"), "the file does not exist");
    EXPECT_EQ(WhyNotAFile(dir / "folder.GMS"), "it is a folder, not a file");
    // A folder used to read as an empty file.
    EXPECT_THROW(ReadWholeFile(dir / "folder.GMS"), std::runtime_error);
#ifndef _WIN32
    // Opening a pipe for reading waits for a writer: each reader must refuse
    // it before it opens it, or this test never ends.
    const std::string pipe = dir / "pipe.GMS";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(WhyNotAFile(pipe), "it is not a regular file");
    try {
        ReadWholeFile(pipe);
        ADD_FAILURE() << "a pipe was read";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open " + pipe + ": it is not a regular file");
    }
    EXPECT_THROW(Sha256OfFile(pipe), std::runtime_error);
    EXPECT_THROW(CopyFileSafely(pipe, dir / "copy.GMS"), std::runtime_error);
    EXPECT_FALSE(fs::exists(fs::path(dir / "copy.GMS")));
#endif
}

TEST(GamePath, ResolvesGamePathsWithoutRegardToCase)
{
    test::TempDir dir;
    test::WriteText(dir / "gp3jams/LIVERIES/williA98.jam", "w");
    test::WriteText(dir / "GP3JAMS/Main/exact.jam", "e"); // a second, exact-case directory
    ForceDirectories(dir / "Bitmaps");

    EXPECT_EQ(ResolveGamePath(dir.path(), "GP3JAMS\\Liveries\\WILLIA98.JAM"), dir / "gp3jams/LIVERIES/williA98.jam");
#ifndef _WIN32 // one folder on Windows, whose file system ignores case itself
    // The exact spelling wins where it exists.
    EXPECT_EQ(ResolveGamePath(dir.path(), "GP3JAMS\\Main\\exact.jam"), dir / "GP3JAMS/Main/exact.jam");
    test::WriteText(dir / "GP3JAMS/Main/eXACT.jam", "x");
    EXPECT_EQ(ResolveGamePath(dir.path(), "GP3JAMS\\Main\\exact.jam"), dir / "GP3JAMS/Main/exact.jam");
    EXPECT_EQ(ResolveGamePath(dir.path(), "GP3JAMS\\Main\\Exact.jam"), dir / "GP3JAMS/Main/eXACT.jam");
#endif
    // What does not exist yet keeps the game's spelling below the part that does.
    EXPECT_EQ(ResolveGamePath(dir.path(), "BITMAPS\\GP3ART5.BIN"), dir / "Bitmaps/GP3ART5.BIN");
    EXPECT_EQ(ResolveGamePath(dir.path(), "SAMPLES\\GP3SOUND.DAT"), dir / "SAMPLES/GP3SOUND.DAT");
    EXPECT_EQ(ResolveGamePath(dir.path(), "ldata/"), dir / "ldata/");
    EXPECT_EQ(ResolveGamePath(dir / "missing", "GP3.EXE"), dir / "missing/GP3.EXE");
    // Names that merely contain dots are names.
    EXPECT_EQ(ResolveGamePath(dir.path(), "gp3jams\\..liveries\\a..b.jam"), dir / "gp3jams/..liveries/a..b.jam");
    // The accented letters of the game's language names fold as Windows folds them.
    test::WriteText(dir / "LDATA/ESPA\xC3\x91OL.STR", "s");
    EXPECT_EQ(ResolveGamePath(dir.path(), "LDATA\\ESPA\xC3\xB1OL.str"), dir / "LDATA/ESPA\xC3\x91OL.STR");
    // Characters outside the code page are not taken for one another.
    test::WriteText(dir / "LDATA/\xE5\x90\x8D.str", "n");
    EXPECT_EQ(ResolveGamePath(dir.path(), "LDATA\\\xE5\xAD\x97.str"), dir / "LDATA/\xE5\xAD\x97.str");
}

TEST(GamePath, RefusesNamesThatLeaveTheGameDirectory)
{
    test::TempDir dir;
    ForceDirectories(dir / "GP3JAMS");
    const std::string refused[] = {
        "GP3JAMS\\..\\..\\..\\etc\\passwd", // parent components
        "..",
        "GP3JAMS/../x",
        "GP3JAMS\\...\\x", // Windows reads dots alone as the parent
        "GP3JAMS\\. .\\x",
        "\\etc\\passwd", // rooted
        "/etc/passwd",
        "\\\\server\\share\\GP3.EXE", // UNC
        "//server/share",
        "C:GP3.EXE", // drive
        "C:\\Windows\\win.ini",
        "GP3JAMS\\x.jam:stream",
        std::string("GP3.EXE\0.txt", 11), // NUL
    };
    for (const auto& name : refused)
        EXPECT_THROW(ResolveGamePath(dir.path(), name), GamePathError) << name;

    // A drive path from the Wine registry is rooted at its drive and may not
    // climb out of it.
    ForceDirectories(dir / "drive_c/Spiele/GP3");
    EXPECT_EQ(WindowsPathInWinePrefix(dir.path(), "C:\\spiele\\gp3"), dir / "drive_c/Spiele/GP3/");
    EXPECT_EQ(WindowsPathInWinePrefix(dir.path(), "C:\\..\\..\\etc"), "");
}

TEST(FileChoice, SavedNamesKeepAnExtensionTheDialogOffers)
{
    const std::vector<std::string> texts = {"*.STR", "*.TXT"};
    EXPECT_EQ(SavedFileName("/u/pl.TXT", texts, 0), "/u/pl.TXT");
    EXPECT_EQ(SavedFileName("/u/pl.txt", texts, 0), "/u/pl.txt");
    EXPECT_EQ(SavedFileName("/u/pl", texts, 0), "/u/pl.STR");
    EXPECT_EQ(SavedFileName("/u/pl", texts, 1), "/u/pl.TXT");
    EXPECT_EQ(SavedFileName("/u/pl.old", texts, 1), "/u/pl.old.TXT");
    const std::vector<std::string> pictures = {"*.BMP", "*.JPG"};
    EXPECT_EQ(SavedFileName("track1.jpg", pictures, 0), "track1.jpg");
    const std::vector<std::string> jams = {"*.BMP", "*.JAM", "*.JAD", "*.PNG"};
    EXPECT_EQ(SavedFileName("ben-new.JAM", jams, 0), "ben-new.JAM");
    // Several patterns in one filter: any of them is kept, the first is added.
    EXPECT_EQ(SavedFileName("a.jpg", {"*.BMP;*.JPG"}, 0), "a.jpg");
    EXPECT_EQ(SavedFileName("a", {"*.BMP;*.JPG"}, 0), "a.BMP");
    EXPECT_EQ(SavedFileName("a", {"*.*"}, 0), "a");
}
