#include "TestSupport.h"

#include "app/GameRegistry.h"
#include "base/FileUtils.h"
#include "formats/GameInstallation.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace pitwall;
namespace fs = std::filesystem;

namespace {

void MakeFile(const std::string& path, std::uint64_t size)
{
    test::WriteText(path, "");
    fs::resize_file(NativePath(path), size);
}

} // namespace

TEST(GameInstallation, VersionsAreToldByExactSizes)
{
    EXPECT_EQ(GameVersionFromExeSize(8'822'784), 1);
    EXPECT_EQ(GameVersionFromExeSize(8'835'072), 2);
    EXPECT_EQ(GameVersionFromExeSize(8'839'168), 3);
    EXPECT_EQ(GameVersionFromExeSize(8'835'073), 0);
    EXPECT_EQ(SavegameFormatFromSize(88'138), 1);
    EXPECT_EQ(SavegameFormatFromSize(88'334), 2);
    EXPECT_EQ(SavegameFormatFromSize(88'335), 0);
    EXPECT_STREQ(GameVersionName(2), "v1.13");
    EXPECT_STREQ(GameVersionName(3), "v1.13 (Gp3Video)");
    EXPECT_STREQ(GameVersionName(99), "Unknown Version");
}

TEST(GameInstallation, DetectionSaysWhichMessageApplies)
{
    test::TempDir dir;
    std::string game = dir / "gp3/";
    ForceDirectories(game);
    EXPECT_FALSE(GameDirectoryHasExe(""));
    EXPECT_FALSE(GameDirectoryHasExe(game));
    EXPECT_EQ(DetectGameVersions(game).messageNumber, 347);

    MakeFile(game + "gp3.exe", 8'835'073); // a Wine install in lower case
    EXPECT_TRUE(GameDirectoryHasExe(game));
    EXPECT_TRUE(GameDirectoryHasExe(dir / "gp3")); // without trailing separator
    auto d = DetectGameVersions(game);
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.messageNumber, 925);
    EXPECT_EQ(d.gameVersion, 0);

    fs::resize_file(NativePath(game + "gp3.exe"), 8'835'072);
    d = DetectGameVersions(game);
    EXPECT_EQ(d.messageNumber, 348);
    EXPECT_EQ(d.gameVersion, 2);

    MakeFile(game + "F1GSTATE.SAV", 88'335);
    d = DetectGameVersions(game);
    EXPECT_EQ(d.messageNumber, 980);
    EXPECT_EQ(d.savegameFormat, 0);

    fs::resize_file(NativePath(game + "F1GSTATE.SAV"), 88'334);
    d = DetectGameVersions(game);
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.messageNumber, 0);
    EXPECT_EQ(d.gameVersion, 2);
    EXPECT_EQ(d.savegameFormat, 2);
}

TEST(GameRegistry, FindsTheInstallKeyInAWinePrefix)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    const std::string reg = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
                            "[Software\\\\Microprose\\\\Grand Prix 3\\\\3.00.000] 1600000000\n\"Other\"=\"x\"\n\n"
                            "[Software\\\\Microprose\\\\Grand Prix 3\\\\3.00.000\\\\Install Dir] 1600000000\n"
                            "#time=1d6a2b3c4d5e6f7\n\"Dir\"=\"wrong\"\n\"Directory\"=\"C:\\\\Spiele\\\\Gp3\"\n";
    EXPECT_EQ(FindInstallDirectoryInWineRegistry(reg), "C:\\Spiele\\Gp3");
    EXPECT_EQ(FindInstallDirectoryInWineRegistry("[Software\\\\Wow6432Node\\\\Microprose\\\\Grand Prix 3\\\\3.00.000"
                                                 "\\\\Install Dir] 1\r\n\"directory\"=str(2):\"D:\\\\GP3\\x00e9\"\r\n"),
              "D:\\GP3\u00e9");
    EXPECT_EQ(FindInstallDirectoryInWineRegistry("[Software\\\\Other] 1\n\"Directory\"=\"C:\\\\GP3\"\n"), "");
    EXPECT_EQ(FindInstallDirectoryInWineRegistry("[Software\\\\Microprose\\\\Grand Prix 3\\\\3.00.000\\\\Install Dir"
                                                 "] 1\n\"Directory\"=dword:00000001\n\"Directory\"=\"\n"),
              "");
    EXPECT_EQ(FindInstallDirectoryInWineRegistry(""), "");

    test::TempDir prefix;
    ForceDirectories(prefix / "drive_c/spiele/GP3");
    test::WriteText(prefix / "system.reg", reg);
    auto env = [&](const char* name) -> std::optional<std::string> {
        if (std::string(name) == "WINEPREFIX")
            return prefix.path();
        return std::nullopt;
    };
    EXPECT_EQ(FindGameDirectoryInRegistry(env), prefix / "drive_c/spiele/GP3/");

    // Drives come from the prefix's dosdevices links.
    test::TempDir elsewhere;
    ForceDirectories(prefix / "dosdevices");
    fs::create_directory_symlink(NativePath(elsewhere.path()), NativePath(prefix / "dosdevices/d:"));
    ForceDirectories(elsewhere / "GAMES/gp3");
    std::string resolved = WindowsPathInWinePrefix(prefix.path(), "D:\\Games\\GP3");
    EXPECT_EQ(fs::canonical(NativePath(resolved)), fs::canonical(NativePath(elsewhere / "GAMES/gp3")));
    EXPECT_EQ(WindowsPathInWinePrefix(prefix.path(), "E:\\GP3"), "");
    EXPECT_EQ(WindowsPathInWinePrefix(prefix.path(), "GP3"), "");

    auto noPrefix = [](const char*) -> std::optional<std::string> { return std::nullopt; };
    EXPECT_EQ(FindGameDirectoryInRegistry(noPrefix), "");
    test::TempDir emptyPrefix;
    auto empty = [&](const char* name) -> std::optional<std::string> {
        return std::string(name) == "WINEPREFIX" ? std::optional<std::string>(emptyPrefix.path()) : std::nullopt;
    };
    EXPECT_EQ(FindGameDirectoryInRegistry(empty), "");
#endif
}
