#pragma once
// Where the program finds its own files and keeps its settings and working
// files. Two layouts:
// - portable (an unpacked folder with a file named "portable" in it, or the
//   language files beside the executable, as in the build tree): everything
//   lies beside the executable: PITWALL.INI, the language files, the palette,
//   the sound module and the working directory TEMP with its staging
//   directory TEMP/Carset. When that folder is read-only, the settings go to
//   the user's configuration directory and TEMP to the user's cache directory.
// - installed (the executables in bin/, the data in ../share/pitwall/, the
//   sound module in ../lib/pitwall/): the settings always go to the user's
//   configuration directory ($XDG_CONFIG_HOME/pitwall) and TEMP to the
//   user's cache directory ($XDG_CACHE_HOME/pitwall), never into the prefix.

#include <functional>
#include <optional>
#include <string>

namespace pitwall {

using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
std::optional<std::string> SystemEnvironment(const char* name);

enum class ProgramLayout { Portable, Installed };

// The name of the marker file that makes a folder a portable installation.
inline constexpr const char* kPortableMarkerFileName = "portable";

struct ProgramLocation {
    ProgramLayout layout = ProgramLayout::Portable;
    std::string data;    // language files, palette, font, Standard.DAT
    std::string modules; // the sound module
};

// Where an installed program's sound module lies, relative to the prefix
// (lib/pitwall, or the platform's library folder; no trailing separator).
std::string InstalledModuleDirectory();

// Decides the layout from the executable's directory alone (no Qt, no
// settings). All strings carry a trailing separator.
ProgramLocation LocateProgram(const std::string& executableDirectory);

struct ProgramDirectories {
    ProgramLayout layout = ProgramLayout::Portable;
    // The directory with the language files, palette, font and Standard.DAT:
    // the executable's own, or share/pitwall beside bin/ when installed.
    std::string program;
    std::string modules;  // directory of the sound module
    std::string settings; // directory of PITWALL.INI
    std::string working;  // ... TEMP/
    std::string staging;  // ... TEMP/Carset/

    std::string settingsFile() const;
    // The file the settings are read from: settingsFile(), or, until it
    // exists, a PITWALL.INI in a program folder the settings cannot go to
    // (installed or read-only, written earlier or shipped preconfigured).
    // Computing the directories copies such a file to settingsFile() when
    // there is none yet, so this differs only when that copy failed.
    // Writes always go to settingsFile().
    std::string settingsFileToRead() const;
};

// All strings carry a trailing separator. The flag says whether a portable
// program's folder can take the settings and TEMP; an installed program
// never writes into its prefix.
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
