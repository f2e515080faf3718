#pragma once
// What a killed run of this program can leave in an installation: the
// hidden temporaries of the safe write (".NAME.pitwall-" and sixteen hex
// digits, beside the file they were to replace) and the expanded art bank
// written under its working name GP3ART5.BIN.NEW. A later writer, holding the
// installation's lock, removes them before it writes; only files of exactly
// those names, owned by the user and untouched for a while (the files a run
// staged under the lock, ".NAME.pitwall-staged-" and sixteen hex digits,
// whatever their age), and never through a link.

#include <chrono>
#include <string>
#include <vector>

namespace pitwall {

inline constexpr std::chrono::seconds kLeftoverAge{120};

// Whether a file name is one of this program's temporary names (removed
// once untouched for a while).
bool IsLeftoverName(const std::string& name);
// Whether it is the name of a file staged by a writer holding the lock
// (removed whatever its age: its writer is gone).
bool IsStagedLeftoverName(const std::string& name);

// Removes the stale leftovers in the installation (its folders searched a few
// levels deep, links not followed). Returns the paths removed.
std::vector<std::string> RemoveStaleLeftovers(const std::string& gameDirectory,
                                              std::chrono::seconds olderThan = kLeftoverAge);

} // namespace pitwall
