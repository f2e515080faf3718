#pragma once
// What the completion scripts share: each command's options including the
// ones of the commands above it (a global option may follow the command),
// and the word each script uses for the kind of value an argument takes.

#include "CommandTree.h"

#include <string>
#include <vector>

namespace pitwall::clidocs {

// Options valid after `path`: its own, then its parents' up to the program's.
std::vector<const ArgumentDoc*> OptionsAt(const CommandDoc& root, const std::string& path);

// "items", "language", "dir", "file", "choice:a b c", "other" for a value
// with nothing to offer; empty for a flag.
std::string KindWord(const ArgumentDoc& argument);

// The kind words of the command's arguments in order, separated by spaces
// (an argument with choices as "other"); empty when it takes none.
std::string PositionalKinds(const CommandDoc& command);

// The word with `'` written so it stays inside a single-quoted POSIX shell
// string ('\'').
std::string ShellQuoted(const std::string& word);

std::string Joined(const std::vector<std::string>& words, const std::string& separator);

} // namespace pitwall::clidocs
