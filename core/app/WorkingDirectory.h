#pragma once
// Each running desktop instance owns its working directory. The first one
// started from a program folder takes TEMP; one started while TEMP is in use
// takes TEMP-2, TEMP-3, ... beside it. Ownership is an OwnerLock on a file
// beside the directory (TEMP.lock, TEMP-2.lock, ...) held for as long as the
// instance runs, so a directory whose lock can be had belongs to nobody: it
// is a crashed instance's leftover and may be emptied and reused, and one
// whose lock is held is never touched. The command line keeps its own
// working folders elsewhere (in the system's temporary directory).

#include "app/ProgramDirectories.h"
#include "base/OwnerLock.h"

#include <memory>
#include <string>
#include <vector>

namespace pitwall {

// How many working directories can lie beside one another (TEMP, TEMP-2 ...).
inline constexpr int kMaxWorkingDirectories = 32;

// The working directory `n` (1: TEMP itself) for the directories' TEMP, with
// trailing separator.
std::string NumberedWorkingDirectory(const std::string& working, int n);

// Claims the first working directory of TEMP's family whose lock is free and
// points `directories.working` and `.staging` at it; its parent is created
// when missing. Nothing on disk changes besides the lock file. Throws
// PrivateDirectoryError when none is free (or the folder takes no lock file).
std::unique_ptr<OwnerLock> ClaimWorkingDirectory(ProgramDirectories& directories);

// Removes the numbered working directories (TEMP-2 and on) beside `working`
// whose lock is free: the leftovers of instances that ended without cleaning
// up. TEMP itself is left for the next instance to take. Returns the
// directories removed.
std::vector<std::string> RemoveLeftoverWorkingDirectories(const std::string& working);

} // namespace pitwall
