#include "TestSupport.h"

#include "app/GameInstallationSearch.h"
#include "base/FileUtils.h"
#include "formats/GameInstallation.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace pitwall;
namespace fs = std::filesystem;

namespace {

// A game folder as a Wine install leaves it: GP3.EXE of a known version's
// size under the given spelling.
void PlantGame(const std::string& directory, const std::string& exeName, int gameVersion)
{
    ForceDirectories(directory);
    test::WriteText(directory + exeName, "");
    fs::resize_file(NativePath(directory + exeName), kGameExeSizes[static_cast<std::size_t>(gameVersion)]);
}

std::string Canonical(const std::string& path) { return PathString(fs::weakly_canonical(NativePath(path))); }

struct FakeHome {
    test::TempDir dir;
    std::optional<std::string> winePrefix;

    EnvironmentLookup environment()
    {
        return [this](const char* name) -> std::optional<std::string> {
            if (std::string(name) == "HOME")
                return dir.path();
            if (std::string(name) == "WINEPREFIX")
                return winePrefix;
            return std::nullopt;
        };
    }
    std::string operator/(const std::string& relative) const { return dir / relative; }
};

std::vector<std::string> Directories(const std::vector<FoundInstallation>& found)
{
    std::vector<std::string> out;
    for (const auto& f : found)
        out.push_back(Canonical(f.directory));
    return out;
}

} // namespace

TEST(GameInstallationSearch, FindsTheGameInEveryFrontEndsPrefixes)
{
    FakeHome home;
    PlantGame(home / "Games/gp3-lutris/drive_c/GP3/", "gp3.exe", kVersion100);
    PlantGame(home / "Games/grand-prix/prefix/drive_c/Program Files/Microprose/Grand Prix 3/", "Gp3.Exe", kVersion113);
    PlantGame(home / ".local/share/bottles/bottles/Racing/drive_c/Games/GP3/", "GP3.EXE", kVersion113Video);
    PlantGame(home / ".var/app/com.usebottles.bottles/data/bottles/bottles/Old/drive_c/gp3/", "gP3.eXe", kVersion113);
    PlantGame(home / ".PlayOnLinux/wineprefix/GrandPrix3/drive_c/a/b/c/GP3/", "GP3.exe", kVersion100);
    PlantGame(home / ".local/share/wineprefixes/gp3/drive_c/GP3/", "gp3.EXE", kVersion113);
    PlantGame(home / ".wine/drive_c/Spiele/GP3/", "GP3.EXE", kVersion113);
    // Too deep to be searched for (five levels below drive C), and a game in
    // the system folder, which is passed over.
    PlantGame(home / ".wine/drive_c/a/b/c/d/GP3/", "GP3.EXE", kVersion113);
    PlantGame(home / ".wine/drive_c/windows/GP3/", "GP3.EXE", kVersion113);
    // A file that only looks like the game.
    ForceDirectories(home / ".wine/drive_c/Fake/GP3.EXE");

    auto found = FindGameInstallations(home.environment());
    ASSERT_EQ(found.size(), 7u);
    const std::vector<std::string> expected = {
        Canonical(home / "Games/gp3-lutris/drive_c/GP3"),
        Canonical(home / "Games/grand-prix/prefix/drive_c/Program Files/Microprose/Grand Prix 3"),
        Canonical(home / ".local/share/bottles/bottles/Racing/drive_c/Games/GP3"),
        Canonical(home / ".var/app/com.usebottles.bottles/data/bottles/bottles/Old/drive_c/gp3"),
        Canonical(home / ".PlayOnLinux/wineprefix/GrandPrix3/drive_c/a/b/c/GP3"),
        Canonical(home / ".local/share/wineprefixes/gp3/drive_c/GP3"),
        Canonical(home / ".wine/drive_c/Spiele/GP3"),
    };
    EXPECT_EQ(Directories(found), expected);
    EXPECT_EQ(found[0].source, InstallationSource::Lutris);
    EXPECT_EQ(found[0].gameVersion, kVersion100);
    EXPECT_EQ(found[1].prefix, home / "Games/grand-prix/prefix/");
    EXPECT_EQ(found[1].gameVersion, kVersion113);
    EXPECT_EQ(found[2].source, InstallationSource::Bottles);
    EXPECT_EQ(found[2].gameVersion, kVersion113Video);
    EXPECT_EQ(found[3].source, InstallationSource::BottlesFlatpak);
    EXPECT_EQ(found[4].source, InstallationSource::PlayOnLinux);
    EXPECT_EQ(found[5].source, InstallationSource::WinePrefixes);
    EXPECT_EQ(found[6].source, InstallationSource::DefaultWinePrefix);
    for (const auto& f : found)
        EXPECT_EQ(f.directory.back(), kPathSeparator) << f.directory;
}

TEST(GameInstallationSearch, TakesEachInstallationOnceAndTheRegistryFirst)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    FakeHome home;
    // ~/.wine's install key names the game: found by the registry search and
    // again in ~/.wine, listed once, as the registry's.
    PlantGame(home / ".wine/drive_c/Spiele/Gp3/", "gp3.exe", kVersion113);
    PlantGame(home / ".wine/drive_c/Other/GP3/", "GP3.EXE", kVersion100);
    test::WriteText(home / ".wine/system.reg",
                    "WINE REGISTRY Version 2\n\n"
                    "[Software\\\\Microprose\\\\Grand Prix 3\\\\3.00.000\\\\Install Dir]"
                    " 1600000000\n\"Directory\"=\"C:\\\\SPIELE\\\\GP3\"\n");
    // A Bottles prefix that is a link to ~/.wine: the same installation.
    ForceDirectories(home / ".local/share/bottles/bottles");
    fs::create_directory_symlink(NativePath(home / ".wine"), NativePath(home / ".local/share/bottles/bottles/Same"));

    auto found = FindGameInstallations(home.environment());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(Canonical(found[0].directory), Canonical(home / ".wine/drive_c/Spiele/Gp3"));
    EXPECT_EQ(found[0].source, InstallationSource::Registry);
    EXPECT_EQ(found[0].gameVersion, kVersion113);

    // With the key naming a folder without the game, drive C is searched.
    test::WriteText(home / ".wine/system.reg",
                    "[Software\\\\Microprose\\\\Grand Prix 3\\\\3.00.000\\\\Install Dir]"
                    " 1\n\"Directory\"=\"C:\\\\Gone\"\n");
    EXPECT_EQ(Directories(FindGameInstallations(home.environment())),
              (std::vector<std::string>{Canonical(home / ".wine/drive_c/Other/GP3"),
                                        Canonical(home / ".wine/drive_c/Spiele/Gp3")}));
#endif
}

TEST(GameInstallationSearch, NeverLeavesThePrefixThroughLinks)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    FakeHome home;
    test::TempDir outside;
    PlantGame(outside / "GP3/", "GP3.EXE", kVersion113);
    ForceDirectories(home / ".wine/dosdevices");
    ForceDirectories(home / ".wine/drive_c/users/me");
    fs::create_directory_symlink("/", NativePath(home / ".wine/dosdevices/z:"));
    fs::create_directory_symlink(NativePath(outside.path()), NativePath(home / ".wine/drive_c/users/me/Desktop"));
    fs::create_directory_symlink(NativePath(outside / "GP3"), NativePath(home / ".wine/drive_c/GP3"));

    EXPECT_TRUE(FindGameInstallations(home.environment()).empty());
    EXPECT_TRUE(ScanDriveForGame(home / ".wine").empty()); // the prefix itself, dosdevices included
#endif
}

TEST(GameInstallationSearch, FindsNothingWhereNothingIs)
{
    FakeHome home;
    EXPECT_TRUE(FindGameInstallations(home.environment()).empty());
    ForceDirectories(home / "Games/empty/drive_c");
    ForceDirectories(home / ".wine");
    home.winePrefix = home / "nowhere";
    EXPECT_TRUE(FindGameInstallations(home.environment()).empty());
    EXPECT_TRUE(FindGameInstallations([](const char*) { return std::optional<std::string>(); }).empty());
    EXPECT_TRUE(ScanDriveForGame(home / "missing").empty());
}

TEST(GameInstallationSearch, StopsAfterTheGivenNumberOfDirectories)
{
    test::TempDir drive;
    for (int i = 0; i < 5; ++i)
        ForceDirectories(drive / ("d" + std::to_string(i)));
    PlantGame(drive / "z/", "GP3.EXE", kVersion113);
    EXPECT_EQ(ScanDriveForGame(drive.path(), 4, 100).size(), 1u);
    EXPECT_TRUE(ScanDriveForGame(drive.path(), 4, 6).empty()); // drive, d0..d4
}
