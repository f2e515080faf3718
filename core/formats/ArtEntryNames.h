#pragma once
// The names the expansion dialog lists for the 840 art-bank entries: each
// group of entries has a UI text with a running number.

#include "base/DelphiFormat.h"

#include <cstddef>

namespace pitwall {

// A name as the UI text that gives it and that text's placeholders.
struct ArtEntryNameText {
    int number;
    FormatArgs args;
};

// Entry 0 is "Unknown"; the others "<group name> <n>".
ArtEntryNameText ArtEntryName(std::size_t entry);

} // namespace pitwall
