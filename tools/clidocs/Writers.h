#pragma once
// The files made from the command tree: a completion script for each shell
// and the man page.

#include "CommandTree.h"

#include <string>

namespace pitwall::clidocs {

std::string BashCompletion(const CommandDoc& root);
std::string ZshCompletion(const CommandDoc& root);
std::string FishCompletion(const CommandDoc& root);
// `date` and `version` go into the page's title line.
std::string ManPage(const CommandDoc& root, const std::string& date, const std::string& version);

} // namespace pitwall::clidocs
