#pragma once
// Finding every Grand Prix 3 installation on this system, for the list of
// game folders in the options. First the installer's registry key (the one
// "Automatic search" has always read), then the Wine prefixes the usual Wine
// front ends keep in the home directory: Lutris (~/Games/<name>, the prefix
// there or one folder below), Bottles (native and Flatpak), PlayOnLinux,
// ~/.local/share/wineprefixes and ~/.wine itself. In a prefix the install key
// of its system.reg is taken when it names an installation; otherwise its
// drive C is searched a few levels deep for GP3.EXE in any letter case.

#include "app/ProgramDirectories.h"

#include <string>
#include <vector>

namespace pitwall {

enum class InstallationSource {
    Registry,          // the installer's key ($WINEPREFIX or ~/.wine, or Windows' registry)
    Lutris,            // ~/Games/<name>
    Bottles,           // ~/.local/share/bottles/bottles/<name>
    BottlesFlatpak,    // ~/.var/app/com.usebottles.bottles/data/bottles/bottles/<name>
    PlayOnLinux,       // ~/.PlayOnLinux/wineprefix/<name>
    WinePrefixes,      // ~/.local/share/wineprefixes/<name>
    DefaultWinePrefix, // ~/.wine
};

struct FoundInstallation {
    std::string directory; // the game directory, with trailing separator
    InstallationSource source = InstallationSource::Registry;
    std::string prefix;  // the Wine prefix it lies in (with trailing separator), empty for the registry
    int gameVersion = 0; // GameVersion by the size of GP3.EXE; unknown version when not recognised
};

// Every installation found, in the order of the sources above, each once
// (compared by canonical path). Directories that cannot be read are passed
// over; symbolic links inside a prefix are never followed (a prefix links
// drive Z: to the root and the user folders to the home directory).
std::vector<FoundInstallation> FindGameInstallations(const EnvironmentLookup& environment = SystemEnvironment);

// The GP3.EXE directories below a prefix's drive_c, at most `maxDepth` levels
// down, visiting at most `maxDirectories` directories (breadth first, so
// shallow installations come first). Sorted by path within a level.
std::vector<std::string> ScanDriveForGame(const std::string& driveC, int maxDepth = 4, int maxDirectories = 20000);

} // namespace pitwall
