#include "app/WorkingDirectory.h"

#include "base/FileUtils.h"
#include "base/PrivateDirectory.h"

#include <filesystem>

namespace pitwall {

namespace {

std::string LockFileOf(const std::string& directory) { return ExcludeTrailingBackslash(directory) + ".lock"; }

// Anything of that name, a link included.
bool Exists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::symlink_status(NativePath(ExcludeTrailingBackslash(path)), ec).type()
        != std::filesystem::file_type::not_found
        && !ec;
}

} // namespace

std::string NumberedWorkingDirectory(const std::string& working, int n)
{
    const std::string base = ExcludeTrailingBackslash(working);
    return IncludeTrailingBackslash(n <= 1 ? base : base + "-" + std::to_string(n));
}

std::unique_ptr<OwnerLock> ClaimWorkingDirectory(ProgramDirectories& directories)
{
    const std::string family = directories.working;
    const std::string parent = DirectoryOf(ExcludeTrailingBackslash(family));
    ForceDirectories(parent);
    for (int n = 1; n <= kMaxWorkingDirectories; ++n) {
        const std::string candidate = NumberedWorkingDirectory(family, n);
        if (auto lock = OwnerLock::tryTake(LockFileOf(candidate))) {
            directories.working = candidate;
            directories.staging = candidate + "Carset" + kPathSeparator;
            return lock;
        }
    }
    throw PrivateDirectoryError("No working directory is free in " + parent + ": "
                                + std::to_string(kMaxWorkingDirectories)
                                + " instances of the program seem to be running, or the folder takes no lock file");
}

std::vector<std::string> RemoveLeftoverWorkingDirectories(const std::string& working)
{
    std::vector<std::string> removed;
    for (int n = 2; n <= kMaxWorkingDirectories; ++n) {
        const std::string candidate = NumberedWorkingDirectory(working, n);
        if (!Exists(candidate))
            continue;
        // Held while it goes, so no instance starting now can take it half
        // removed.
        auto lock = OwnerLock::tryTake(LockFileOf(candidate));
        if (!lock)
            continue;
        DeleteTree(candidate);
        if (!Exists(candidate))
            removed.push_back(candidate);
    }
    return removed;
}

} // namespace pitwall
