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

bool SameFolderName(std::string_view a, std::string_view b);

// The list as the file holds it now (another instance may have changed it
// since this run read it), less the folders this run removed, with those it
// added.
std::vector<std::string> MergedGameDirectories(const IniFile& ini, const Settings& settings, const Settings& asRead)
{
    auto listed = [](const std::vector<std::string>& list, const std::string& folder) {
        return std::any_of(list.begin(), list.end(), [&](const std::string& f) { return SameFolderName(f, folder); });
    };
    Settings merged;
    merged.gameDirectory = ini.readString(kGeneralSection, "GP3Path", ""); // listed, as on reading
    ReadGameDirectories(ini, merged);
    std::erase_if(merged.gameDirectories, [&](const std::string& folder) {
        return listed(asRead.gameDirectories, folder) && !listed(settings.gameDirectories, folder);
    });
    for (const auto& folder : settings.gameDirectories)
        if (!listed(asRead.gameDirectories, folder))
            RememberGameDirectory(merged, folder);
    return merged.gameDirectories;
}

void WriteGameDirectories(IniFile& ini, const Settings& settings, const Settings* asRead)
{
    // A file without the list (an older one, or a new one for settings read
    // elsewhere) takes this run's whole list.
    const bool merge = asRead && ini.hasSection(kGameFoldersSection);
    if (merge && settings.gameDirectories == asRead->gameDirectories)
        return;
    const std::vector<std::string> folders =
        merge ? MergedGameDirectories(ini, settings, *asRead) : settings.gameDirectories;
    for (const auto& key : ini.keyNames(kGameFoldersSection))
        ini.eraseKey(kGameFoldersSection, key);
    int n = 0;
    for (const auto& directory : folders)
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

void WriteSettings(std::string_view iniPath, const Settings& settings, const Settings* asRead)
{
    IniFile ini;
    ini.load(iniPath);
    // A value this run left as it read it stays as the file holds it now:
    // another instance may have changed it meanwhile.
    auto write = [&](auto member, const char* key) {
        return !asRead || settings.*member != asRead->*member || !ini.hasKey(kGeneralSection, key);
    };
    if (write(&Settings::gameDirectory, "GP3Path"))
        ini.writeString(kGeneralSection, "GP3Path", settings.gameDirectory);
    if (write(&Settings::alwaysImport, "AlwaysImport"))
        ini.writeBool(kGeneralSection, "AlwaysImport", settings.alwaysImport);
    if (write(&Settings::languageFile, "Language"))
        ini.writeString(kGeneralSection, "Language", settings.languageFile);
    if (write(&Settings::dndTeams, "DnDTeams"))
        ini.writeBool(kGeneralSection, "DnDTeams", settings.dndTeams);
    if (write(&Settings::dndTracks, "DnDTracks"))
        ini.writeBool(kGeneralSection, "DnDTracks", settings.dndTracks);
    if (write(&Settings::showExportOK, "ShowExportOK"))
        ini.writeBool(kGeneralSection, "ShowExportOK", settings.showExportOK);
    if ((settings.restorePointsKept != Settings{}.restorePointsKept || ini.hasKey(kGeneralSection, "RestorePoints"))
        && write(&Settings::restorePointsKept, "RestorePoints"))
        ini.writeInteger(kGeneralSection, "RestorePoints", settings.restorePointsKept);
    if ((settings.restorePointsMB != Settings{}.restorePointsMB || ini.hasKey(kGeneralSection, "RestorePointsMB"))
        && write(&Settings::restorePointsMB, "RestorePointsMB"))
        ini.writeInteger(kGeneralSection, "RestorePointsMB", settings.restorePointsMB);
    if ((!settings.startCommand.empty() || ini.hasKey(kGeneralSection, "StartCommand"))
        && write(&Settings::startCommand, "StartCommand"))
        ini.writeString(kGeneralSection, "StartCommand", settings.startCommand);
    if ((!settings.paletteFile.empty() || ini.hasKey(kGeneralSection, "Palette"))
        && write(&Settings::paletteFile, "Palette"))
        ini.writeString(kGeneralSection, "Palette", settings.paletteFile);
    WriteGameDirectories(ini, settings, asRead);
    ini.save(iniPath);
}

} // namespace pitwall
