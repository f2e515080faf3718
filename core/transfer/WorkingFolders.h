#pragma once
// The command line's private working folders (in the system's temporary
// directory, one per run) are removed by the run that made them, however it
// ends, except when it is killed. Each folder therefore names its process,
// and a later run removes the folders of processes that are gone.

#include <string>
#include <vector>

namespace pitwall {

// Writes this process's id into the (new, private) working folder.
void MarkWorkingFolder(const std::string& folder);

// Removes the folders `prefix` + six characters in `parent` that are real
// directories of this user's and whose process has ended; an unmarked one
// (made by an older version, or cut short before it was marked) only when
// it has not changed for a day. Links are never followed. Returns the
// folders removed.
std::vector<std::string> RemoveAbandonedWorkingFolders(const std::string& parent, const std::string& prefix);

} // namespace pitwall
