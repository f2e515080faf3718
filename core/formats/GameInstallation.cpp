#include "formats/GameInstallation.h"

#include "base/FileUtils.h"
#include "base/GamePath.h"

#include <filesystem>
#include <system_error>

namespace pitwall {

int GameVersionFromExeSize(std::uint64_t size)
{
    for (int v = 1; v < static_cast<int>(kGameExeSizes.size()); ++v)
        if (kGameExeSizes[static_cast<std::size_t>(v)] == size)
            return v;
    return kUnknownVersion;
}

int SavegameFormatFromSize(std::uint64_t size)
{
    for (int f = 1; f < static_cast<int>(kSavegameSizes.size()); ++f)
        if (kSavegameSizes[static_cast<std::size_t>(f)] == size)
            return f;
    return 0;
}

const char* GameVersionName(int gameVersion)
{
    if (gameVersion < 0 || gameVersion >= static_cast<int>(kGameVersionNames.size()))
        return kGameVersionNames[0];
    return kGameVersionNames[static_cast<std::size_t>(gameVersion)];
}

std::string GameFilePath(std::string_view gameDirectory, std::string_view gameRelative)
{
    return ResolveGamePath(gameDirectory, gameRelative);
}

bool GameDirectoryHasExe(std::string_view gameDirectory)
{
    return !gameDirectory.empty() && FileExists(GameFilePath(gameDirectory, kGameExeName));
}

std::string InstallationOf(const std::string& file, std::string* relative)
{
    std::error_code ec;
    // The folders on the way are resolved, not the file itself: a game file
    // that links to a file elsewhere is still the game's.
    const std::filesystem::path native = NativePath(file);
    const std::filesystem::path resolved =
        std::filesystem::weakly_canonical(std::filesystem::absolute(native, ec).parent_path(), ec) / native.filename();
    std::filesystem::path at = resolved.parent_path();
    for (int depth = 0; !ec && depth < 64; ++depth) {
        std::string directory = IncludeTrailingBackslash(PathString(at));
        if (GameDirectoryHasExe(directory)) {
            if (relative)
                *relative = PathString(resolved).substr(directory.size());
            return directory;
        }
        if (!at.has_parent_path() || at.parent_path() == at)
            break;
        at = at.parent_path();
    }
    return {};
}

GameDetection DetectGameVersions(std::string_view gameDirectory)
{
    GameDetection d;
    if (gameDirectory.empty()) {
        d.messageNumber = 347;
        return d;
    }
    std::string exe = GameFilePath(gameDirectory, kGameExeName);
    if (!FileExists(exe)) {
        d.messageNumber = 347;
        return d;
    }
    d.gameVersion = GameVersionFromExeSize(FileSizeOf(exe));
    if (d.gameVersion == kUnknownVersion) {
        d.messageNumber = 925;
        return d;
    }
    std::string save = GameFilePath(gameDirectory, kSavegameName);
    if (!FileExists(save)) {
        d.messageNumber = 348;
        return d;
    }
    d.savegameFormat = SavegameFormatFromSize(FileSizeOf(save));
    if (d.savegameFormat == 0) {
        d.messageNumber = 980;
        return d;
    }
    d.ok = true;
    return d;
}

} // namespace pitwall
