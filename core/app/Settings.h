#pragma once
// The program's settings in PITWALL.INI, section "General".

#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

inline constexpr const char* kSettingsFileName = "PITWALL.INI";
inline constexpr const char* kGeneralSection = "General";
// Remembered directories of the file dialogs, one key per purpose.
inline constexpr const char* kPathsSection = "Pathes";
// The game folders the user keeps to switch between, keys Path1, Path2, ...
// (the one in use stays GP3Path in "General", as older files have it).
inline constexpr const char* kGameFoldersSection = "GameFolders";
inline constexpr int kMaxGameFolders = 50;

struct Settings {
    std::string gameDirectory; // with trailing separator
    // Every game folder the user has added or the search found, the one in
    // use among them; each with trailing separator.
    std::vector<std::string> gameDirectories;
    std::string languageFile;
    bool alwaysImport = false;
    bool dndTeams = false;
    bool dndTracks = false;
    // Without a settings file both stay false, so neither the info window
    // nor the export message appears until the user changes the options;
    // inside an existing file a missing key means true.
    bool showExportOK = false;
    bool firstTime = false;
    // How many restore points are kept per installation (key RestorePoints)
    // and how many megabytes they may take together (RestorePointsMB); the
    // newest point is always kept.
    int restorePointsKept = 10;
    int restorePointsMB = 1000;
    // How the game is started (key StartCommand): a program and its
    // arguments, to which the game's executable name is added; run in the
    // game directory. Empty: the executable itself on Windows, "wine"
    // elsewhere.
    std::string startCommand;
    // The game palette the user chose (key Palette): a palette file or a
    // picture with the game's colour table. Empty: the stand-in beside the
    // program.
    std::string paletteFile;
};

// Adds the folder (with trailing separator) to the list unless it is there;
// empty folders are not listed.
void RememberGameDirectory(Settings& settings, std::string_view directory);

// Reads the settings when the file exists (after clearing its read-only
// attribute) and writes FirstTime = 0 into it at once. Returns whether a
// settings file was read; without one the settings stay as they are.
bool ReadSettings(std::string_view iniPath, Settings& settings);
// Only the restore points' limits, the file left as it is (the command line
// reads no more of it).
void ReadRestorePointLimits(std::string_view iniPath, Settings& settings);
// Only the chosen palette file (empty when none is set or there is no file).
std::string ReadPaletteSetting(std::string_view iniPath);

// Writes GP3Path, AlwaysImport, Language, DnDTeams, DnDTracks,
// ShowExportOK, RestorePoints, RestorePointsMB, StartCommand and Palette, in
// this order, creating the file if needed (the restore-point limits only
// when not the defaults, StartCommand and Palette only when set; each also
// when already in the file), and the list of game folders. Throws
// std::runtime_error when the file cannot be written.
// `asRead`: the settings as this run read them at its start. A value it has
// not changed since is then left as the file holds it, and the game folders
// this run added or removed are merged into the file's list: a second
// instance that ended meanwhile keeps its changes.
void WriteSettings(std::string_view iniPath, const Settings& settings, const Settings* asRead = nullptr);

} // namespace pitwall
