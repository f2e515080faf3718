#pragma once
// Recognising a Grand Prix 3 installation: the game version by the exact size
// of GP3.EXE and the savegame format by the exact size of F1GSTATE.SAV. Every
// table of positions in GP3.EXE is indexed by the game version, every table of
// positions in F1GSTATE.SAV by the savegame format.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pitwall {

enum GameVersion : int { kUnknownVersion = 0, kVersion100 = 1, kVersion113 = 2, kVersion113Video = 3 };

inline constexpr std::array<std::uint64_t, 4> kGameExeSizes = {0, 8'822'784, 8'835'072, 8'839'168};
inline constexpr std::array<std::uint64_t, 3> kSavegameSizes = {0, 88'138, 88'334};
inline constexpr std::array<const char*, 4> kGameVersionNames = {"Unknown Version", "v1.00", "v1.13",
                                                                 "v1.13 (Gp3Video)"};

inline constexpr const char* kGameExeName = "GP3.EXE";
inline constexpr const char* kSavegameName = "F1GSTATE.SAV";

int GameVersionFromExeSize(std::uint64_t size);
int SavegameFormatFromSize(std::uint64_t size);
const char* GameVersionName(int gameVersion);

// True when the directory is not empty and holds GP3.EXE.
bool GameDirectoryHasExe(std::string_view gameDirectory);
// The installation a file lies in (the nearest directory above it that
// holds GP3.EXE), with trailing separator; empty when there is none. Links
// among the folders on the way are followed (a folder outside that links
// into a game's folder is inside it); the file itself may be a link. `relative`, when given, receives the file's path below the
// installation.
std::string InstallationOf(const std::string& file, std::string* relative = nullptr);

struct GameDetection {
    bool ok = false;
    int gameVersion = kUnknownVersion;
    int savegameFormat = 0;
    // The UI text that explains a failure (347 no GP3.EXE, 925 unknown
    // GP3.EXE size, 348 no F1GSTATE.SAV, 980 unknown savegame size); 0 on
    // success. The front end shows it.
    int messageNumber = 0;
};

GameDetection DetectGameVersions(std::string_view gameDirectory);

// Full path of a game file, resolved without regard to letter case.
std::string GameFilePath(std::string_view gameDirectory, std::string_view gameRelative);

} // namespace pitwall
