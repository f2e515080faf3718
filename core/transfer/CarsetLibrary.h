#pragma once
// The carset library: a folder of carsets the user keeps (copies of the
// .GMS files added to it), each shown with what it is and carries, and per
// installation the history of the carsets applied to it (LibraryHistory).
// The carsets are read only for their header and information; a file that
// is not a readable carset is still listed, with the reason.

#include "app/ProgramDirectories.h"
#include "transfer/CarsetInfo.h"
#include "transfer/SelectionItems.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

class LibraryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct LibraryCarset {
    std::string name;     // the file name without .GMS, as the library shows it
    std::string path;     // the file in the library
    std::string sha256;   // of the whole file
    std::uint64_t size = 0;
    CarsetInfoFields info; // version, author, date, text
    ItemBytes items{};     // the selection items it holds
    std::string error;     // why it cannot be read; empty when it can
    bool readable() const { return error.empty(); }
};

// <user data directory>/pitwall/Library/, or empty when the environment
// names no such directory.
std::string DefaultLibraryDirectory(const EnvironmentLookup& environment = SystemEnvironment);
// The library folder the settings file names (key Library in General), else
// the default; PITWALL_LIBRARY overrides both.
std::string ChosenLibraryDirectory(std::string_view settingsFile,
                                   const EnvironmentLookup& environment = SystemEnvironment);
// Writes key Library (empty: the default) into the settings file.
void WriteLibrarySetting(std::string_view settingsFile, const std::string& directory);

// Reads what the library shows of one carset file (header, information,
// hash). Never throws: a broken file comes back with `error` set.
LibraryCarset ReadLibraryCarset(const std::string& path);

class CarsetLibrary {
public:
    explicit CarsetLibrary(std::string directory);

    const std::string& directory() const { return directory_; }

    // Every .GMS in the folder (any letter case), by name, letter case
    // ignored. An absent folder is an empty library.
    std::vector<LibraryCarset> list() const;
    // By name or file name, letter case ignored.
    std::optional<LibraryCarset> find(std::string_view name) const;

    // Copies a carset into the library under its own name, or `name`.
    // Throws LibraryError, leaving the library as it was, when the file is
    // not a readable carset, or another carset has that name (the same file
    // added again is no error: that entry comes back).
    // `alreadyHeld`, when given, says whether the library held that very file
    // under the name already (nothing was copied).
    LibraryCarset add(const std::string& carsetFile, std::string_view name = {}, bool* alreadyHeld = nullptr);
    // Throws LibraryError when there is no such carset or it cannot be
    // removed.
    void remove(std::string_view name);

private:
    std::string directory_;
};

} // namespace pitwall
