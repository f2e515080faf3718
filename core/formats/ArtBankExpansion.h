#pragma once
// Enlarging art-bank entries so that any picture of their size can be written
// into them: each flagged entry that does not fit gets width x height x 2
// reserved bytes, the entries are laid out again one after another, and the
// bank is rewritten into a fresh temporary file beside it (as every safe
// write is). The game's file is replaced only by the final rename; an error
// before it leaves the file untouched and removes the new one.

#include "formats/ArtBankDirectory.h"

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace pitwall {

// The directory the bank has after expanding the flagged entries (reserved
// sizes and data offsets only; nothing is read or written). Entry 0 keeps its
// data offset.
ArtDirectory ExpandedLayout(const ArtDirectory& directory, const std::vector<bool>& flags);

// Expands the flagged entries of the bank file (flags: one per entry, missing
// ones count as false). With keepBackup the old file stays as
// GP3ART5.BIN.OLD. Returns the new directory. A missing bank throws
// FormatError with UI text 349; a damaged one (short directory, data
// overlapping the directory or beyond the end of the file, a size no picture
// has, a bank beyond 4 GB) with UI text 1146 or 1147; those are found before
// anything is written and leave everything as it was. File errors throw after
// the same clean-up. `progress`, when given, hears after each entry how many
// of the 840 are done.
using ArtProgress = std::function<void(std::size_t done, std::size_t total)>;
ArtDirectory ExpandArtBank(std::string_view bankFile, const std::vector<bool>& flags, bool keepBackup,
                           const ArtProgress& progress = {});
// The same with the entries to enlarge encoded on `workers` threads (0: one
// per core, as above; 1: all on the calling thread). The new bank is the same
// byte for byte whatever the count; `progress` is called on the calling
// thread only.
// `sync` says whether the new bank reaches the disk before it takes the old
// one's name: always for the game's own file; a private working copy, whose
// content the program writes to the game through the safe path later, need not.
enum class NewBankSync { ToDisk, NotNeeded };
ArtDirectory ExpandArtBank(std::string_view bankFile, const std::vector<bool>& flags, bool keepBackup,
                           const ArtProgress& progress, unsigned workers, NewBankSync sync = NewBankSync::ToDisk);

} // namespace pitwall
