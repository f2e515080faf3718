#pragma once
// Game files are named the way the game names them, Windows style
// ("GP3JAMS\Liveries\WILLIA98.JAM"). An installation inside a Wine prefix may
// hold them in any letter case ("gp3jams/LIVERIES/williA98.jam"). This is the
// one place that turns such a name into a real path.

#include <stdexcept>
#include <string>
#include <string_view>

namespace pitwall {

// A game path that would leave the game directory or name something other
// than a file below it.
class GamePathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Resolves `gameRelative` (separators '\' or '/') below `baseDirectory`,
// matching each component without regard to ASCII case against what exists.
// An exact match wins over a case-insensitive one; among several
// case-insensitive matches the first by name wins. Components that do not
// exist yet keep the given spelling, so a file created there gets the game's
// own name.
//
// Game paths come from game files and carsets as well as from the program's
// own tables, so only plain relative names are accepted: a ".." component
// (or one of dots alone, which Windows reads as such), a leading separator
// (absolute or UNC), a ':' (drive or stream) or a NUL throws GamePathError.
std::string ResolveGamePath(std::string_view baseDirectory, std::string_view gameRelative);

// A game path as a game file spells it (a track file's JAM list: the
// Windows-1252 bytes the game hands to Windows, "GP3JAMS\ALB\xC9RT.JAM") in
// the spelling of every other game path here, UTF-8 ("GP3JAMS\ALBÉRT.JAM"),
// which is how such a file is named on disk once the installation is copied
// anywhere and what NativePath expects on Windows.
std::string GamePathFromGameBytes(std::string_view windows1252);

} // namespace pitwall
