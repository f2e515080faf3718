#pragma once
// Restore points: copies of the game files a run is about to change, taken
// before its first byte changes, so that the installation can be put back
// exactly as it was. They live under the user's data directory, one folder
// per installation and one per run, each with a small manifest (time,
// operation, and per file its path, whether it existed, size and SHA-256).
// A run that fails part-way puts its files back itself; the user can put
// back any kept point later ("restore"). The newest points are kept, ten by
// default; a point is never made at the price of filling the disk.

#include "app/ProgramDirectories.h"
#include "base/InstallationLock.h"
#include "transfer/PointOperation.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace pitwall {

class RestorePointError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct RestorePointFile {
    std::string relativePath; // below the game directory, as spelled on disk
    bool existed = false;     // false: the run creates it; restoring removes it
    std::uint64_t size = 0;
    std::string sha256;
    // Set when the game file was a symbolic link: the point keeps where it
    // led (not the file there, which a run never changes) and a restore puts
    // the link back as it was.
    std::string linkTarget;
};

struct RestorePoint {
    std::string id;   // sortable: yyyymmdd-hhmmss-<random>
    std::string time; // UTC, ISO 8601
    std::string operation; // in English words
    // Empty for a point of an older version that named its operation only
    // in words other than "export".
    PointOperation what;
    std::string gameDirectory;
    std::string directory; // where the copies lie
    std::string run;       // the writing run that made it (its start)
    std::vector<RestorePointFile> files;

    std::uint64_t totalSize() const;
};

struct RestoreReport {
    std::vector<std::string> restored;  // relative paths now as in the point
    std::vector<std::string> unchanged; // those of them that were so already (nothing written)
    std::vector<std::string> failed;    // "path: reason"
    bool ok() const { return failed.empty(); }
    // The files that were really written back (or removed).
    std::size_t written() const { return restored.size() - unchanged.size(); }
};

inline constexpr int kDefaultRestorePointsKept = 10;
// Together the kept points of an installation take no more than this, save
// the newest, which is always kept.
inline constexpr int kDefaultRestorePointsMB = 1000;

// <user data directory>/pitwall/RestorePoints/ (XDG_DATA_HOME, ~/.local/share
// or LOCALAPPDATA); empty when the environment names none of them. Restore
// points are never kept in a shared place such as the temporary directory:
// without a folder of the user's own, no point can be made and nothing is
// written.
std::string DefaultRestorePointRoot(const EnvironmentLookup& environment = SystemEnvironment);
// <user data directory>/pitwall/Locks/, or empty as above.
std::string DefaultLockDirectory(const EnvironmentLookup& environment = SystemEnvironment);
// <user data directory>/pitwall/, or empty as above.
std::string UserPitwallDataDirectory(const EnvironmentLookup& environment = SystemEnvironment);

// A folder name for an installation: its last directory name (for people
// looking) and a hash of its full path (to tell installations apart).
std::string InstallationKey(const std::string& gameDirectory);

class RestorePoints {
public:
    using FreeSpace = std::function<std::uint64_t(const std::string& directory)>;

    // Every folder from the root down (the root, and the pitwall folder
    // above it in the usual place; the installation's folder; each point's)
    // is created owner-only and must be a real directory of the user's
    // before anything is written or deleted in it.
    RestorePoints(std::string root, std::string gameDirectory, int keep = kDefaultRestorePointsKept,
                  int maxMegabytes = kDefaultRestorePointsMB);

    // This installation's folder of restore points.
    const std::string& directory() const { return directory_; }
    // The installation, as a full path.
    const std::string& gameDirectory() const { return gameDirectory_; }
    void setFreeSpace(FreeSpace freeSpace) { freeSpace_ = std::move(freeSpace); }
    // Who writes through these points; without it, a run named "pitwall"
    // that began when this object was made.
    void setWriter(WriterInfo writer);

    // Takes the installation for writing (see InstallationLock); making,
    // restoring and pruning points take it themselves, nested in a hold of
    // the caller's. Having taken it, clears the program's stale leftovers in
    // the installation. Throws RestorePointError (nothing changed) when the
    // lock cannot be had or there is no folder for it.
    InstallationLock lock(const std::string& operation) const;

    // Copies the files (paths below the game directory; missing ones are
    // recorded as created by the run) into a new point and writes its
    // manifest last, so a point without a manifest never counts. Throws
    // RestorePointError, leaving nothing behind, when there is no room for
    // the copies or they cannot be written. Older points are pruned only
    // once the run has written (prune()), so a run that is refused costs
    // none of them.
    RestorePoint create(const PointOperation& operation, const std::vector<std::string>& relativePaths,
                        const std::function<void()>& keepAlive = {});
    // The point's files that are no longer as it recorded them (with
    // `only`, of those relative paths).
    // `keepAlive` as create takes it, here while the files are hashed.
    std::vector<std::string> changedSince(const RestorePoint& point, const std::vector<std::string>* only = nullptr,
                                          const std::function<void()>& keepAlive = {}) const;
    // Removes a point this run made and then did not need (the run changed
    // nothing after all).
    void discard(const RestorePoint& point) const;
    // The points made after `point`, oldest first: the changes a restore of
    // it undoes.
    std::vector<RestorePoint> madeAfter(const RestorePoint& point) const;

    // The point's copy of one of its files (relative path as the point
    // spells it), checked against the hash the manifest recorded. Throws
    // RestorePointError when the point holds no such copy (the run created
    // the file) or the copy is missing or damaged.
    std::vector<std::uint8_t> readCopy(const RestorePoint& point, const std::string& relativePath) const;

    // The complete points of this installation, newest first.
    std::vector<RestorePoint> list() const;
    std::optional<RestorePoint> find(const std::string& id) const;

    // Puts the point's files back (each replaced as a whole; files the run
    // created are removed). With `only`, just those relative paths. A file
    // that is already as the point recorded it (size and SHA-256) is left
    // alone, so a put-back after a run that changed nothing writes nothing.
    // A copy whose hash no longer matches its manifest is not used. Holds the
    // installation's lock; when it cannot be had, nothing is put back and
    // the report says why. `keepAlive` as create takes it.
    RestoreReport restore(const RestorePoint& point, const std::vector<std::string>* only = nullptr,
                          const std::function<void()>& keepAlive = {}) const;

    // Going back to a point undoes the runs after it too: each file any of
    // them changed goes back to the oldest copy from the point on. These
    // are those files, those of them that are not so now, and the restore.
    std::vector<std::string> filesBackTo(const RestorePoint& point) const;
    std::vector<std::string> changedBackTo(const RestorePoint& point, const std::function<void()>& keepAlive = {}) const;
    RestoreReport restoreBackTo(const RestorePoint& point, const std::function<void()>& keepAlive = {}) const;

    // Removes the oldest points beyond the number kept or beyond the size
    // allowed, and incomplete ones that were left long ago; never the newest
    // point, a point made since the writing run began, one still being made
    // (it has no manifest yet), nor anything in the folder that is not a
    // point.
    void prune() const;

private:
    // Per point from `point` on, the files it is the oldest copy of.
    std::vector<std::pair<RestorePoint, std::vector<std::string>>> planBackTo(const RestorePoint& point) const;
    DirectoryHandle openDirectory(bool create) const;
    void pruneLocked(const InstallationLock& held) const;

    std::string root_;
    std::string key_;
    std::string gameDirectory_;
    std::string directory_;
    int keep_;
    std::uint64_t maxBytes_;
    FreeSpace freeSpace_;
    WriterInfo writer_;
};

} // namespace pitwall
