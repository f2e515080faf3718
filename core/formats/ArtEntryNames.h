#pragma once
// The names the expansion dialog lists for the 840 art-bank entries: each
// group of entries has a UI text with a running number.

#include <cstddef>
#include <string>

namespace pitwall {

class UITexts;

// Entry 0 is "Unknown"; the others "<group name> <n>".
std::string ArtEntryName(std::size_t entry, const UITexts& texts);

} // namespace pitwall
