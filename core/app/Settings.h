#pragma once
// The program's settings in PITWALL.INI, section "General".

#include <string>
#include <string_view>

namespace pitwall {

inline constexpr const char* kSettingsFileName = "PITWALL.INI";
inline constexpr const char* kGeneralSection = "General";
// Remembered directories of the file dialogs, one key per purpose.
inline constexpr const char* kPathsSection = "Pathes";

struct Settings {
    std::string gameDirectory; // with trailing separator
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
};

// Reads the settings when the file exists (after clearing its read-only
// attribute) and writes FirstTime = 0 into it at once. Returns whether a
// settings file was read; without one the settings stay as they are.
bool ReadSettings(std::string_view iniPath, Settings& settings);
// Only the restore points' limits, the file left as it is (the command line
// reads no more of it).
void ReadRestorePointLimits(std::string_view iniPath, Settings& settings);

// Writes GP3Path, AlwaysImport, Language, DnDTeams, DnDTracks,
// ShowExportOK and StartCommand, in this order, creating the file if
// needed (StartCommand only when set or already in the file). Throws
// std::runtime_error when the file cannot be written.
void WriteSettings(std::string_view iniPath, const Settings& settings);

} // namespace pitwall
