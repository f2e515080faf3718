#pragma once
// "Automatische Suche": where the game's installer recorded its directory.
// The installer writes the value "Directory" under the key
// HKEY_LOCAL_MACHINE\Software\Microprose\Grand Prix 3\3.00.000\Install Dir. On Windows that is the registry;
// on Linux it is the Wine prefix's system.reg, and the Windows path found
// there is turned into the path inside the prefix.

#include "app/ProgramDirectories.h"

#include <string>
#include <string_view>

namespace pitwall {

inline constexpr const char* kInstallKey = "Software\\Microprose\\Grand Prix 3\\3.00.000\\Install Dir";
inline constexpr const char* kInstallValue = "Directory";

// The value of the install key in a Wine registry file's text (also under
// Wow6432Node, where a 64-bit prefix keeps 32-bit programs' keys), with the
// file's escapes undone (UTF-8). Empty when absent.
std::string FindInstallDirectoryInWineRegistry(std::string_view systemRegText);

// Turns a Windows path of the prefix ("C:\GP3") into the path on this system
// ("<prefix>/drive_c/GP3/"), through the prefix's dosdevices links, resolving
// the letter case of existing directories. Empty when the drive is unknown.
std::string WindowsPathInWinePrefix(std::string_view winePrefix, std::string_view windowsPath);

// The game directory from the Wine prefix ($WINEPREFIX, default ~/.wine) or,
// on Windows, the registry; with trailing separator, or empty when not found.
std::string FindGameDirectoryInRegistry(const EnvironmentLookup& environment = SystemEnvironment);

} // namespace pitwall
