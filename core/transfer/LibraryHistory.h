#pragma once
// Per installation, the carsets of the library applied to it: which carset
// (name and hash of the file), when, which items, and the restore point the
// apply made (the point holds the files as they were before it and the
// bytes it changed, which is what undoing that one carset needs). Kept in
// the library folder, one file per installation.

#include "transfer/CarsetLibrary.h"
#include "transfer/GameChangeSet.h"

#include <string>
#include <vector>

namespace pitwall {

struct AppliedCarset {
    std::string time; // UTC, ISO 8601
    std::string carset;
    std::string sha256;
    std::vector<int> items;
    std::string restorePointId;
    // The restore point made by the undo of this apply; empty while the
    // apply is in effect.
    std::string undonePointId;
    bool undone() const { return !undonePointId.empty(); }
};

// The history entry of an apply of a library carset that wrote: now, the
// carset, and the items its changes belong to.
AppliedCarset MakeAppliedCarset(const LibraryCarset& carset, const std::string& restorePointId,
                                const std::vector<FileChange>& changes);

class LibraryHistory {
public:
    LibraryHistory(const std::string& libraryDirectory, const std::string& gameDirectory);

    const std::string& file() const { return file_; }
    // Oldest first; empty while there is no history yet. Damaged lines are
    // skipped. Throws std::runtime_error when the file is there but cannot be
    // read or is no history.
    std::vector<AppliedCarset> read() const;
    // As read(), for display: a history that cannot be read shows as empty.
    std::vector<AppliedCarset> entries() const;
    // The newest apply of that carset (name, letter case ignored) still in
    // effect.
    const AppliedCarset* lastInEffect(const std::vector<AppliedCarset>& entries, const std::string& carset) const;

    // Both throw std::runtime_error when the history cannot be read or
    // written: a file that is no history is never written over. The file is
    // replaced as a whole, so it is never left half written.
    void record(const AppliedCarset& applied);
    void markUndone(const std::string& restorePointId, const std::string& undoPointId);

private:
    void write(const std::vector<AppliedCarset>& entries) const;
    std::string file_;
};

} // namespace pitwall
