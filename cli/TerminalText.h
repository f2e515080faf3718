#pragma once
// Text from game files and carsets (team names, INFO.DAT lines, member names,
// track information) is written by whoever made the file. On a terminal its
// control characters would move the cursor, rewrite earlier lines or set the
// window title, so every such text passes through here before it is printed:
// C0 controls (ESC among them), DEL and the C1 controls U+0080..U+009F are
// shown as \xNN, a backslash as \\ (so that a name holding the four
// characters \x1B is told apart from one holding an ESC), and bytes that are
// not UTF-8 as \xNN.

#include <string>
#include <string_view>

namespace pitwall::cli {

// UTF-8 text made safe to print.
std::string TerminalText(std::string_view utf8);
// Windows-1252 bytes of a game file or carset, converted and made safe.
std::string TerminalGameText(std::string_view windows1252);
// A game path of a game file ("GP3JAMS\\MONZA.JAM"), Windows-1252: escaped
// as game text, except that its backslashes are the separators and stay.
std::string TerminalGamePath(std::string_view windows1252);
// A message as one line for stderr: line breaks become spaces, other
// controls are escaped as above. Backslashes stay as they are: messages name
// Windows paths, and escaping a line twice changes nothing.
std::string TerminalLine(std::string_view utf8);

} // namespace pitwall::cli
