#include "app/ProgramDirectories.h"

#include "app/Settings.h"
#include "base/FileUtils.h"
#include "formats/Palette.h"

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

// The language files are what the program cannot start without; the
// palette alone marks a folder that lost them as the program's too.
bool HoldsProgramData(const std::string& directory)
{
    return FileExists(directory + kPaletteFileName) || !ListFiles(directory, "*.LNG", false, false).empty();
}

std::string Canonical(const std::string& directory)
{
    std::error_code ec;
    auto path = fs::weakly_canonical(NativePath(directory), ec);
    return ec ? directory : IncludeTrailingBackslash(PathString(path));
}

} // namespace

std::string InstalledModuleDirectory()
{
#ifdef PITWALL_MODULE_DIR
    std::string directory = PITWALL_MODULE_DIR;
#else
    std::string directory = "lib/pitwall";
#endif
    for (char& c : directory)
        if (c == '/')
            c = kPathSeparator;
    return directory;
}

ProgramLocation LocateProgram(const std::string& executableDirectory)
{
    ProgramLocation location;
    const std::string exe = IncludeTrailingBackslash(executableDirectory);
    location.data = exe;
    location.modules = exe;
    if (FileExists(exe + kPortableMarkerFileName) || HoldsProgramData(exe))
        return location;
    const std::string prefix = exe + ".." + kPathSeparator;
    const std::string shared = prefix + "share" + kPathSeparator + "pitwall" + kPathSeparator;
    if (!HoldsProgramData(shared))
        return location; // nothing anywhere: starting says what is missing
    location.layout = ProgramLayout::Installed;
    location.data = Canonical(shared);
    // A module left beside the executable (an older installation) is still found.
    const std::string modules = IncludeTrailingBackslash(prefix + InstalledModuleDirectory());
    if (DirectoryExists(modules))
        location.modules = Canonical(modules);
    return location;
}

ProgramDirectories ComputeProgramDirectories(const std::string& executableDirectory, const EnvironmentLookup& env)
{
    return ComputeProgramDirectories(executableDirectory, IsDirectoryWritable(executableDirectory), env);
}

ProgramDirectories ComputeProgramDirectories(const std::string& executableDirectory, bool programDirectoryWritable,
                                             const EnvironmentLookup& env)
{
    const ProgramLocation location = LocateProgram(executableDirectory);
    ProgramDirectories d;
    d.layout = location.layout;
    d.program = location.data;
    d.modules = location.modules;
    if (location.layout == ProgramLayout::Portable && programDirectoryWritable) {
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
