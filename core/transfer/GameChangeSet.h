#pragma once
// Everything one run is going to change in an installation, held back until
// the run has finished preparing it: the patched game files (GP3.EXE,
// F1GSTATE.SAV) in memory, and whole files to replace. From it the run can
// tell exactly which files and byte ranges would change (a preview), and
// then write them: a restore point first, then every file replaced as a
// whole; if a file cannot be written, the ones already written are put back
// from the restore point.

#include "base/FileStamp.h"
#include "transfer/GameFile.h"
#include "transfer/RestorePoints.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

struct ByteRange {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// The bytes of one file that one item changes (item 0: not one item, such as
// the savegame checksum or a whole-file replacement outside a transfer).
struct ItemChange {
    int item = 0;
    std::vector<ByteRange> ranges;
};

struct FileChange {
    std::string relativePath; // below the game directory, as spelled on disk
    bool created = false;     // the file does not exist yet
    bool replaced = false;    // written as a whole (not patched in place)
    std::uint64_t oldSize = 0;
    std::uint64_t newSize = 0;
    std::vector<ItemChange> items;
    // Every differing range, whatever wrote it.
    std::vector<ByteRange> ranges;
};

// What the program needs to tell while it writes, and a way for tests to
// stop a run between two files as a crash would.
class CommitObserver {
public:
    virtual ~CommitObserver() = default;
    virtual void restorePointMade(const RestorePoint&) {}
    virtual void fileWritten(const std::string& /*relativePath*/, std::size_t /*done*/, std::size_t /*total*/) {}
};

struct CommitResult {
    std::vector<std::string> written; // relative paths
    std::string restorePointId;       // empty when nothing changed
    // Set when writing failed part-way: what went wrong, and whether the
    // files already written were put back.
    std::string error;
    bool rolledBack = false;
    std::vector<std::string> rollbackFailures;
    bool ok() const { return error.empty(); }
};

class GameChangeSet {
public:
    explicit GameChangeSet(std::string gameDirectory);

    const std::string& gameDirectory() const { return gameDirectory_; }

    // The item that following writes belong to.
    void setItem(int item);
    int item() const { return item_; }

    // A game file patched at fixed positions, read once and kept in memory.
    // Throws GameFileError when it is missing or unreadable.
    GameFile& patchFile(std::string_view gameRelative);
    // A game file written as a whole (a JAM, a text file, the sound bank).
    void replaceFile(std::string_view gameRelative, std::vector<std::uint8_t> bytes);
    // The same for a content worked out from the file as it was at
    // `readStamp` (taken before it was read): written only over that file.
    void replaceFile(std::string_view gameRelative, std::vector<std::uint8_t> bytes, const FileStamp& readStamp);
    // The content a later write would see: pending replacement, patched
    // copy, or the file on disk (nullopt when there is none).
    std::optional<std::vector<std::uint8_t>> currentContent(std::string_view gameRelative) const;
    // The same without a copy, for files too large to copy at will (the art
    // bank): the pending content if the run has touched the file, else null.
    const std::vector<std::uint8_t>* pendingContent(std::string_view gameRelative) const;
    // A whole file edited where it is held: the content a later write would
    // see, from now on a pending replacement. Null when the file does not
    // exist. The caller leaves the content whole, or gives it up with
    // discardReplacement. holdWholeFile only takes the file in; editWholeFile
    // also counts it as written by the current item.
    std::vector<std::uint8_t>* holdWholeFile(std::string_view gameRelative);
    std::vector<std::uint8_t>* editWholeFile(std::string_view gameRelative);
    // The file keeps the content it has on disk: whatever the run wrote into
    // it is dropped.
    void discardReplacement(std::string_view gameRelative);

    // Only files whose bytes really differ, in the order first touched.
    std::vector<FileChange> changes() const;
    bool empty() const { return changes().empty(); }

    // Writes the changes (see above), holding the installation's lock
    // throughout. Throws RestorePointError, having changed nothing, when the
    // lock or a restore point cannot be had.
    // `known`: the run's changes() from just before, when the caller has them
    // already (comparing a large file with the disk again costs time).
    // `keepAlive`, when given, is called often while the restore point and
    // large files are written and synced.
    CommitResult commit(RestorePoints& restorePoints, const PointOperation& operation,
                        CommitObserver* observer = nullptr, const std::vector<FileChange>* known = nullptr,
                        const std::function<void()>& keepAlive = {});

private:
    struct Pending {
        std::string relativePath;
        std::string path;
        std::unique_ptr<GameFile> patched;
        bool replaced = false;
        bool existed = false;
        // Replaced files keep only their new content; the old one is read
        // from disk when compared, so a large file is held once, not twice.
        std::vector<std::uint8_t> newBytes;
        std::vector<GameFile::Write> writes; // replaced files: one per replaceFile
        // A content worked out from the file on disk (patched, or edited
        // whole) is written only over the file it was read from.
        bool readFromDisk = false;
        FileStamp readStamp;
    };
    Pending& entry(std::string_view gameRelative);
    const Pending* findEntry(std::string_view gameRelative) const;
    static std::vector<ByteRange> replacedRanges(const Pending& f);
    // Whether a file the run writes is not as changes() last found it.
    bool changedSinceCompared() const;

    std::string gameDirectory_;
    std::vector<std::unique_ptr<Pending>> files_;
    int item_ = 0;
    // The files as changes() last compared them, by path.
    mutable std::map<std::string, FileStamp> compared_;
};

// Differing ranges of two contents, in rising order; ranges closer than `gap`
// bytes merge (by default only touching ones, so they hold exactly the bytes
// that differ).
std::vector<ByteRange> DifferingRanges(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after,
                                       std::uint64_t gap = 0);

} // namespace pitwall
