#pragma once
// A file the user saves under a name of their choosing (the JAM workshop's
// "save to file"). Inside an installation it may be one the game reads, so
// it is written as a run of its own: holding the installation's lock, after
// a restore point, replaced as a whole. Elsewhere it is simply replaced
// safely.

#include "app/ProgramState.h"
#include "formats/JamFile.h"
#include "transfer/GameChangeSet.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pitwall {

struct GuardedSave {
    std::string installation; // empty: the file lies in none
    CommitResult result;      // inside an installation: what the run wrote
    bool ok() const { return result.ok(); }
};

// Throws RestorePointError, having written nothing, when the installation's
// lock or a restore point cannot be had, and FileWriteError when a file
// outside an installation cannot be written. A failure while the
// installation's file is written comes back in the result, the file put
// back from the restore point.
GuardedSave SaveFileGuarded(const ProgramState& program, const std::string& file, std::vector<std::uint8_t> bytes);

// The workshop's "save to file" (SaveJamAs); a file inside an installation
// (the JAM, its unscrambled .JAD form, a picture of its page) is saved as
// above.
GuardedSave SaveJamGuarded(const ProgramState& program, const TJAMFile& jam, const std::string& fileName);

} // namespace pitwall
