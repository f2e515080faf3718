#include "app/ProgramDirectories.h"

#include "app/Settings.h"
#include "base/FileUtils.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace pitwall {

std::optional<std::string> SystemEnvironment(const char* name)
{
    const char* v = std::getenv(name);
    if (!v || !*v)
        return std::nullopt;
    return std::string(v);
}

std::string ProgramDirectories::settingsFile() const { return settings + kSettingsFileName; }

bool IsDirectoryWritable(const std::string& directory)
{
    if (!DirectoryExists(directory))
        return false;
    std::string probe = IncludeTrailingBackslash(directory) + ".pitwall-write-probe";
    {
        std::ofstream out(NativePath(probe), std::ios::binary);
        if (!out)
            return false;
    }
    std::error_code ec;
    fs::remove(NativePath(probe), ec);
    return true;
}

namespace {

std::string UserDirectory(const EnvironmentLookup& env, const char* xdgName, const char* homeFallback,
                          const char* windowsName)
{
    if (auto v = env(xdgName))
        return IncludeTrailingBackslash(*v);
    if (auto home = env("HOME"))
        return IncludeTrailingBackslash(IncludeTrailingBackslash(*home) + homeFallback);
    if (auto v = env(windowsName))
        return IncludeTrailingBackslash(*v);
    return IncludeTrailingBackslash(PathString(fs::temp_directory_path()));
}

} // namespace

ProgramDirectories ComputeProgramDirectories(const std::string& executableDirectory, const EnvironmentLookup& env)
{
    return ComputeProgramDirectories(executableDirectory, IsDirectoryWritable(executableDirectory), env);
}

ProgramDirectories ComputeProgramDirectories(const std::string& executableDirectory, bool programDirectoryWritable,
                                             const EnvironmentLookup& env)
{
    ProgramDirectories d;
    d.program = IncludeTrailingBackslash(executableDirectory);
    // An installed package keeps the executables in bin/ and the language
    // files, palette and font in share/pitwall/.
    std::string shared = d.program + ".." + kPathSeparator + "share" + kPathSeparator + "pitwall" + kPathSeparator;
    if (ListFiles(d.program, "*.LNG", false, false).empty() && !ListFiles(shared, "*.LNG", false, false).empty())
        d.program = IncludeTrailingBackslash(PathString(std::filesystem::weakly_canonical(NativePath(shared))));
    if (programDirectoryWritable) {
        d.settings = d.program;
        d.working = d.program + "TEMP" + kPathSeparator;
    } else {
        d.settings = UserDirectory(env, "XDG_CONFIG_HOME", ".config", "APPDATA") + "pitwall" + kPathSeparator;
        d.working = UserDirectory(env, "XDG_CACHE_HOME", ".cache", "LOCALAPPDATA") + "pitwall" + kPathSeparator + "TEMP"
            + kPathSeparator;
        ForceDirectories(d.settings);
    }
    d.staging = d.working + "Carset" + kPathSeparator;
    return d;
}

std::string ExecutableDirectory(const char* argv0)
{
    std::error_code ec;
#ifdef __linux__
    auto self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return IncludeTrailingBackslash(PathString(self.parent_path()));
#endif
    fs::path p = argv0 ? fs::absolute(NativePath(argv0), ec) : fs::current_path(ec);
    return IncludeTrailingBackslash(PathString(p.parent_path()));
}

} // namespace pitwall
