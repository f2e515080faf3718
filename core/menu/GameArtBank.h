#pragma once
// The game's art bank during an export. Team art and menu backgrounds are
// written into BITMAPS\GP3ART5.BIN in place, entry by entry, in the bank the
// change set holds for the run, so the game's file is only ever replaced as a
// whole.

#include "formats/ArtBankDirectory.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pitwall {

struct TransferContext;

// Runs `edit` on the bank as the run has it so far (its bytes and its
// directory). `edit` returns whether it wrote into the bank, and writes
// nothing when it returns false; what it wrote goes to the game with the
// run, counted as written by the current item. Should `edit` throw, the run
// gives the bank up (the game keeps the one it has). A missing or damaged
// bank fails the current item and `edit` does not run.
bool EditGameArtBank(TransferContext& context,
                     const std::function<bool(std::vector<std::uint8_t>& bank, const ArtDirectory& directory)>& edit);

// Before an export: enlarges the entries whose flag is set in `flags` (one
// per art-bank entry) and that have no room yet, in memory; the
// result replaces the game's bank with the rest of the export. keepBackup
// also writes the bank as it was as BITMAPS\GP3ART5.BIN.OLD. False, with the
// failure recorded, when the bank is missing or could not be expanded.
bool ExpandArtBankInRun(TransferContext& context, const std::vector<bool>& flags, bool keepBackup);

// Before an export: when any of `entries` has no room for an uncoded picture,
// the user is asked (UI text 659 with their count) whether the art bank may
// be expanded; Yes expands exactly those entries, No stops the export.
bool MakeRoomInArtBank(TransferContext& context, const std::vector<std::size_t>& entries);

} // namespace pitwall
