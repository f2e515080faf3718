#include "app/GameInstallationSearch.h"

#include "app/GameRegistry.h"
#include "base/FileUtils.h"
#include "formats/GameInstallation.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace pitwall {

namespace {

bool IsRealDirectory(const fs::directory_entry& entry)
{
    std::error_code ec;
    return entry.symlink_status(ec).type() == fs::file_type::directory && !ec;
}

// The subdirectories of `directory`, sorted by name; symbolic links left out
// unless `followLinks` (the prefixes a front end keeps may be links).
std::vector<fs::path> Subdirectories(const fs::path& directory, bool followLinks)
{
    std::vector<fs::path> out;
    std::error_code ec;
    fs::directory_iterator it(directory, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeEc;
        bool isDirectory = followLinks ? it->is_directory(typeEc) : IsRealDirectory(*it);
        if (isDirectory && !typeEc)
            out.push_back(it->path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

bool HoldsGameExe(const fs::path& directory)
{
    std::error_code ec;
    fs::directory_iterator it(directory, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (!EqualsIgnoreAsciiCase(PathString(it->path().filename()), kGameExeName))
            continue;
        std::error_code typeEc;
        if (it->is_regular_file(typeEc) && !typeEc)
            return true;
    }
    return false;
}

bool IsWinePrefix(const fs::path& directory)
{
    std::error_code ec;
    return fs::is_directory(directory / "drive_c", ec);
}

// The installation the prefix's system.reg names, if it holds the game.
std::string InstallationInRegistryOf(const std::string& prefix)
{
    std::ifstream in(NativePath(prefix + "system.reg"), std::ios::binary);
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    std::string windowsPath = FindInstallDirectoryInWineRegistry(text.str());
    if (windowsPath.empty())
        return {};
    std::string directory = WindowsPathInWinePrefix(prefix, windowsPath);
    return GameDirectoryHasExe(directory) ? directory : std::string();
}

class Collector {
public:
    void add(std::string directory, InstallationSource source, std::string prefix)
    {
        if (directory.empty() || !GameDirectoryHasExe(directory))
            return;
        std::error_code ec;
        fs::path canonical = fs::weakly_canonical(NativePath(directory), ec);
        if (ec)
            canonical = NativePath(directory);
        if (!seen_.insert(PathString(canonical)).second)
            return;
        FoundInstallation found;
        found.directory = IncludeTrailingBackslash(directory);
        found.source = source;
        found.prefix = std::move(prefix);
        found.gameVersion = DetectGameVersions(found.directory).gameVersion;
        found_.push_back(std::move(found));
    }

    void addPrefix(const fs::path& prefixPath, InstallationSource source)
    {
        std::string prefix = IncludeTrailingBackslash(PathString(prefixPath));
        std::string fromRegistry = InstallationInRegistryOf(prefix);
        if (!fromRegistry.empty()) {
            add(fromRegistry, source, prefix);
            return;
        }
        for (const auto& directory : ScanDriveForGame(prefix + "drive_c"))
            add(directory, source, prefix);
    }

    std::vector<FoundInstallation> take() { return std::move(found_); }

private:
    std::set<std::string> seen_;
    std::vector<FoundInstallation> found_;
};

} // namespace

std::vector<std::string> ScanDriveForGame(const std::string& driveC, int maxDepth, int maxDirectories)
{
    std::vector<std::string> found;
    std::deque<std::pair<fs::path, int>> pending;
    pending.emplace_back(NativePath(driveC), 0);
    int visited = 0;
    while (!pending.empty() && visited < maxDirectories) {
        auto [directory, depth] = std::move(pending.front());
        pending.pop_front();
        ++visited;
        if (HoldsGameExe(directory))
            found.push_back(IncludeTrailingBackslash(PathString(directory)));
        if (depth >= maxDepth)
            continue;
        for (auto& sub : Subdirectories(directory, false)) {
            // The system folder is big and never holds the game.
            if (depth == 0 && EqualsIgnoreAsciiCase(PathString(sub.filename()), "windows"))
                continue;
            pending.emplace_back(std::move(sub), depth + 1);
        }
    }
    return found;
}

std::vector<FoundInstallation> FindGameInstallations(const EnvironmentLookup& environment)
{
    Collector collector;
    collector.add(FindGameDirectoryInRegistry(environment), InstallationSource::Registry, {});

    auto home = environment("HOME");
    if (!home || home->empty())
        return collector.take();
    const fs::path homePath = NativePath(*home);

    // Lutris keeps the prefix as the game's folder or one level below it.
    for (const auto& game : Subdirectories(homePath / "Games", true)) {
        if (IsWinePrefix(game))
            collector.addPrefix(game, InstallationSource::Lutris);
        else
            for (const auto& inner : Subdirectories(game, true))
                if (IsWinePrefix(inner))
                    collector.addPrefix(inner, InstallationSource::Lutris);
    }
    const std::pair<const char*, InstallationSource> prefixFolders[] = {
        {".local/share/bottles/bottles", InstallationSource::Bottles},
        {".var/app/com.usebottles.bottles/data/bottles/bottles", InstallationSource::BottlesFlatpak},
        {".PlayOnLinux/wineprefix", InstallationSource::PlayOnLinux},
        {".local/share/wineprefixes", InstallationSource::WinePrefixes},
    };
    for (const auto& [folder, source] : prefixFolders)
        for (const auto& prefix : Subdirectories(homePath / folder, true))
            if (IsWinePrefix(prefix))
                collector.addPrefix(prefix, source);
    if (IsWinePrefix(homePath / ".wine"))
        collector.addPrefix(homePath / ".wine", InstallationSource::DefaultWinePrefix);
    return collector.take();
}

} // namespace pitwall
