#pragma once
// One writer per installation. Every run that writes into an installation
// (an export, a restore, an art-bank expansion, a settings change, any
// command that writes a game file) holds an exclusive lock on it first, so
// that two runs never make and prune restore points or replace files at the
// same time. The lock is taken on the installation's directory itself (only
// opened for reading, so read-only installations work), so every writer
// meets on it, whatever its environment says about where restore points and
// the user's data lie, and whatever path it names the installation by. Who
// holds it (program, process, operation, since when) is written into a file
// in a folder of the user's own, named after the installation's real path;
// a second writer waits a few seconds, then stops without writing and says
// who holds the lock, or only that another process does when the holder's
// file lies where it cannot see it. The system drops the lock when its
// holder ends, however it ends.
//
// Within one process the lock is taken once: a run that already holds it
// (the same process and the same run) takes it again as a nested hold, which
// leaves it held when it ends.

#include "base/DirectoryHandle.h"

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace pitwall {

// Who writes: shown to a second writer, and used to tell this run's own
// restore points from older ones.
struct WriterInfo {
    std::string program = "pitwall";
    // When the run began, in nanoseconds since the epoch; 0: when it first
    // takes the lock.
    std::int64_t runStarted = 0;
    // How long a second writer waits for the lock.
    std::chrono::milliseconds wait{5000};
    // Where the lock files lie; empty: the user's data directory (or, without
    // one, the folder of restore points).
    std::string lockDirectory;
};

std::int64_t NanosecondsNow();

class InstallationBusyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class InstallationLock {
public:
    // Takes the lock on the installation `gameDirectory`, with the holder's
    // lines in `<key>.lock` in `lockDirectory`. Throws InstallationBusyError
    // when another writer holds it beyond the writer's wait,
    // PrivateDirectoryError when the installation or the holder's file cannot
    // be opened.
    InstallationLock(const DirectoryHandle& lockDirectory, const std::string& key, const std::string& gameDirectory,
                     const std::string& operation, const WriterInfo& writer);
    InstallationLock(InstallationLock&& other) noexcept;
    InstallationLock& operator=(InstallationLock&&) = delete;
    InstallationLock(const InstallationLock&) = delete;
    InstallationLock& operator=(const InstallationLock&) = delete;
    ~InstallationLock();

    // Whether an outer hold of this run had the lock already.
    bool nested() const { return nested_; }
    // When the holding run began (ns since the epoch).
    std::int64_t runStarted() const { return runStarted_; }

private:
    int fd_ = -1;            // the holder's file
    int gameFd_ = -1;        // the installation's directory, locked
    void* handle_ = nullptr; // Windows
    bool nested_ = false;
    std::int64_t runStarted_ = 0;
};

} // namespace pitwall
