#pragma once
// Where the program finds its own files and keeps its settings and working
// files. Normally everything lies beside the executable: PITWALL.INI, the
// language files, the palette and the working directory TEMP with its staging
// directory TEMP/Carset. When the program directory is read-only (an
// installed package), the settings go to the user's configuration directory
// and the working directory to the user's cache directory.

#include <functional>
#include <optional>
#include <string>

namespace pitwall {

using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
std::optional<std::string> SystemEnvironment(const char* name);

struct ProgramDirectories {
    // The executable's directory with the language files, palette, font and
    // Standard.DAT (share/pitwall beside bin/ for an installed package).
    std::string program;
    std::string settings; // directory of PITWALL.INI
    std::string working;  // ... TEMP/
    std::string staging;  // ... TEMP/Carset/

    std::string settingsFile() const;
};

// All strings carry a trailing separator.
ProgramDirectories ComputeProgramDirectories(const std::string& executableDirectory,
                                             const EnvironmentLookup& environment = SystemEnvironment);
ProgramDirectories ComputeProgramDirectories(const std::string& executableDirectory, bool programDirectoryWritable,
                                             const EnvironmentLookup& environment);

// Whether files can be created in the directory (tried, not guessed from
// permission bits, so read-only mounts are recognised too).
bool IsDirectoryWritable(const std::string& directory);

// The directory of the running executable, with trailing separator.
std::string ExecutableDirectory(const char* argv0);

} // namespace pitwall
