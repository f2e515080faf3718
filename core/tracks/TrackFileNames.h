#pragma once
// Names of track files in CIRCUITS. The game's table holds at most ten
// characters after "CIRCUITS\", and names reach the program from game
// files, carsets and the editor, so a name is used as a path only when it
// is a bare file name of the game's kind.

#include <string>

namespace pitwall {

// Empty when `name` is a usable track file name: one to ten characters of
// letters, digits, '_', '-', '.', '!', '#', '$', '&', '(', ')' or '~', not
// "." or "..". Otherwise what is wrong with it.
std::string TrackFileNameProblem(const std::string& name);
// "CIRCUITS\" + name.
std::string TrackFileGamePath(const std::string& name);

} // namespace pitwall
