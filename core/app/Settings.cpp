#include "app/Settings.h"

#include "app/IniFile.h"
#include "base/FileUtils.h"

#include <algorithm>
#include <cctype>

namespace pitwall {

namespace {

void ReadRestorePointLimits(const IniFile& ini, Settings& settings)
{
    settings.restorePointsKept =
        static_cast<int>(std::clamp<long long>(ini.readInteger(kGeneralSection, "RestorePoints", 10), 1, 1000));
    settings.restorePointsMB = static_cast<int>(
        std::clamp<long long>(ini.readInteger(kGeneralSection, "RestorePointsMB", 1000), 1, 1'000'000));
}

void ReadGameDirectories(const IniFile& ini, Settings& settings)
{
    settings.gameDirectories.clear();
    for (int i = 1; i <= kMaxGameFolders; ++i)
        RememberGameDirectory(settings, ini.readString(kGameFoldersSection, "Path" + std::to_string(i), ""));
    RememberGameDirectory(settings, settings.gameDirectory);
}

void WriteGameDirectories(IniFile& ini, const Settings& settings)
{
    for (const auto& key : ini.keyNames(kGameFoldersSection))
        ini.eraseKey(kGameFoldersSection, key);
    int n = 0;
    for (const auto& directory : settings.gameDirectories)
        if (n < kMaxGameFolders)
            ini.writeString(kGameFoldersSection, "Path" + std::to_string(++n), directory);
}

} // namespace

namespace {

// Whether two folder names name the same folder as the file system sees them:
// on Windows both separators count alike and letter case does not matter.
bool SameFolderName(std::string_view a, std::string_view b)
{
#ifdef _WIN32
    auto fold = [](std::string_view name) {
        std::string folded = IncludeTrailingBackslash(name);
        for (char& c : folded)
            c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return folded;
    };
    return fold(a) == fold(b);
#else
    return IncludeTrailingBackslash(a) == IncludeTrailingBackslash(b);
#endif
}

} // namespace

void RememberGameDirectory(Settings& settings, std::string_view directory)
{
    if (directory.empty())
        return;
    auto same = [&](const std::string& known) { return SameFolderName(known, directory); };
    if (std::none_of(settings.gameDirectories.begin(), settings.gameDirectories.end(), same))
        settings.gameDirectories.push_back(IncludeTrailingBackslash(directory));
}

void ReadRestorePointLimits(std::string_view iniPath, Settings& settings)
{
    IniFile ini;
    if (FileExists(iniPath) && ini.load(iniPath))
        ReadRestorePointLimits(ini, settings);
}

std::string ReadPaletteSetting(std::string_view iniPath)
{
    IniFile ini;
    if (FileExists(iniPath) && ini.load(iniPath))
        return ini.readString(kGeneralSection, "Palette", "");
    return {};
}

bool ReadSettings(std::string_view iniPath, Settings& settings)
{
    if (!FileExists(iniPath))
        return false;
    ClearReadOnly(iniPath);
    IniFile ini;
    if (!ini.load(iniPath))
        return false;
    settings.gameDirectory = ini.readString(kGeneralSection, "GP3Path", "");
    settings.alwaysImport = ini.readBool(kGeneralSection, "AlwaysImport", false);
    settings.dndTeams = ini.readBool(kGeneralSection, "DndTeams", false);
    settings.dndTracks = ini.readBool(kGeneralSection, "DndTracks", false);
    settings.languageFile = ini.readString(kGeneralSection, "Language", "");
    settings.showExportOK = ini.readBool(kGeneralSection, "ShowExportOK", true);
    settings.firstTime = ini.readBool(kGeneralSection, "FirstTime", true);
    ReadRestorePointLimits(ini, settings);
    settings.startCommand = ini.readString(kGeneralSection, "StartCommand", "");
    settings.paletteFile = ini.readString(kGeneralSection, "Palette", "");
    ReadGameDirectories(ini, settings);
    // The info window appears once per settings file: the flag is cleared in
    // the file as soon as it has been read.
    ini.writeBool(kGeneralSection, "FirstTime", false);
    try {
        ini.save(iniPath);
    } catch (const std::exception&) {
        // A settings file that cannot be written is still read; the info
        // window then simply shows again next time.
    }
    return true;
}

void WriteSettings(std::string_view iniPath, const Settings& settings)
{
    IniFile ini;
    ini.load(iniPath);
    ini.writeString(kGeneralSection, "GP3Path", settings.gameDirectory);
    ini.writeBool(kGeneralSection, "AlwaysImport", settings.alwaysImport);
    ini.writeString(kGeneralSection, "Language", settings.languageFile);
    ini.writeBool(kGeneralSection, "DnDTeams", settings.dndTeams);
    ini.writeBool(kGeneralSection, "DnDTracks", settings.dndTracks);
    ini.writeBool(kGeneralSection, "ShowExportOK", settings.showExportOK);
    if (settings.restorePointsKept != Settings{}.restorePointsKept || ini.hasKey(kGeneralSection, "RestorePoints"))
        ini.writeInteger(kGeneralSection, "RestorePoints", settings.restorePointsKept);
    if (settings.restorePointsMB != Settings{}.restorePointsMB || ini.hasKey(kGeneralSection, "RestorePointsMB"))
        ini.writeInteger(kGeneralSection, "RestorePointsMB", settings.restorePointsMB);
    if (!settings.startCommand.empty() || ini.hasKey(kGeneralSection, "StartCommand"))
        ini.writeString(kGeneralSection, "StartCommand", settings.startCommand);
    if (!settings.paletteFile.empty() || ini.hasKey(kGeneralSection, "Palette"))
        ini.writeString(kGeneralSection, "Palette", settings.paletteFile);
    WriteGameDirectories(ini, settings);
    ini.save(iniPath);
}

} // namespace pitwall
