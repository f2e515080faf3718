#include "app/ProgramDirectories.h"

#include "app/Settings.h"
#include "base/FileUtils.h"
#include "base/SafeWrite.h"
#include "formats/Palette.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace pitwall {

std::optional<std::string> SystemEnvironment(const char* name)
{
#ifdef _WIN32
    // The wide environment: a user folder named beyond the ANSI code page
    // ("C:\Users\Ελένη") would not survive getenv.
    const std::wstring wideName(name, name + std::char_traits<char>::length(name));
    const wchar_t* v = _wgetenv(wideName.c_str());
    if (!v || !*v)
        return std::nullopt;
    return PathString(fs::path(v));
#else
    const char* v = std::getenv(name);
    if (!v || !*v)
        return std::nullopt;
    return std::string(v);
#endif
}

std::string ProgramDirectories::settingsFile() const { return settings + kSettingsFileName; }

std::string ProgramDirectories::settingsFileToRead() const
{
    const std::string own = settingsFile();
    const std::string beside = program + kSettingsFileName;
    return settings != program && !FileExists(own) && FileExists(beside) ? beside : own;
}

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
#ifndef _WIN32
    // Without HOME: the user's home folder as the system records it. The
    // shared temporary folder would let another user plant the settings
    // (and with them the command that starts the game).
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir && *user->pw_dir)
        return IncludeTrailingBackslash(IncludeTrailingBackslash(user->pw_dir) + homeFallback);
    return IncludeTrailingBackslash(IncludeTrailingBackslash(PathString(fs::temp_directory_path())) + "pitwall-"
                                    + std::to_string(::getuid()));
#else
    return IncludeTrailingBackslash(PathString(fs::temp_directory_path()));
#endif
}

// The language files are what the program cannot start without; the
// palette alone marks a folder that lost them as the program's too.
bool HoldsProgramData(const std::string& directory)
{
    return FileExists(directory + kPaletteFileName) || !ListFiles(directory, "*.LNG", false, false).empty();
}

// A PITWALL.INI in a program folder the settings cannot go to (shipped
// preconfigured, or written while the folder could still take it) becomes
// the user's own settings file, whole, the first time: every part of the
// program that keeps something there (the library, the recent carsets, the
// dialogs' folders, the window's place) then finds its keys, and the first
// write does not leave only the few keys it wrote. A copy that fails leaves
// settingsFileToRead() reading the program folder's file.
void AdoptProgramFolderSettings(const ProgramDirectories& d)
{
    const std::string own = d.settingsFile();
    const std::string beside = d.program + kSettingsFileName;
    if (d.settings == d.program || FileExists(own) || !FileExists(beside))
        return;
    try {
        CopyFileSafely(beside, own);
    } catch (const std::exception&) {
        // Read from beside the program until the copy can be made.
    }
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
        AdoptProgramFolderSettings(d);
    }
    d.staging = d.working + "Carset" + kPathSeparator;
    return d;
}

std::string ExecutableDirectory(const char* argv0)
{
    std::error_code ec;
#ifdef _WIN32
    // The module's own path: argv[0] is whatever the caller typed (no folder
    // when started through PATH, no extension, the ANSI code page).
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            break;
        if (n < buffer.size()) {
            buffer.resize(n);
            return IncludeTrailingBackslash(PathString(fs::path(buffer).parent_path()));
        }
        if (buffer.size() >= 32768) // the longest path Windows has
            break;
        buffer.resize(buffer.size() * 2);
    }
#elif defined(__linux__)
    auto self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return IncludeTrailingBackslash(PathString(self.parent_path()));
#endif
#ifndef _WIN32
    if (argv0 && *argv0 && std::string_view(argv0).find('/') == std::string_view::npos) {
        // Started through PATH: the first folder there holding the program.
        if (const char* path = std::getenv("PATH")) {
            std::string_view rest(path);
            while (true) {
                const std::size_t colon = rest.find(':');
                const std::string_view folder = rest.substr(0, colon);
                const fs::path candidate = NativePath(folder.empty() ? "." : folder) / NativePath(argv0);
                if (fs::is_regular_file(candidate, ec))
                    return IncludeTrailingBackslash(PathString(fs::absolute(candidate, ec).parent_path()));
                if (colon == std::string_view::npos)
                    break;
                rest.remove_prefix(colon + 1);
            }
        }
    }
#endif
    fs::path p = argv0 ? fs::absolute(NativePath(argv0), ec) : fs::current_path(ec);
    return IncludeTrailingBackslash(PathString(p.parent_path()));
}

} // namespace pitwall
