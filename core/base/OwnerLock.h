#pragma once
// An exclusive lock that says "this is mine while I run": held on a small
// file of its own for as long as the object lives, never waited for. The
// system drops it when the holder ends, however it ends, so a lock that can
// be had means its last owner is gone. Each object opens the file itself, so
// two holds in one process exclude each other as two processes do.

#include <memory>
#include <string>

namespace pitwall {

class OwnerLock {
public:
    // Takes the lock on `lockFile` (created owner-only when missing; a link
    // or another user's file is never used); null when another owner holds
    // it or the file cannot be had.
    static std::unique_ptr<OwnerLock> tryTake(const std::string& lockFile);

    OwnerLock(const OwnerLock&) = delete;
    OwnerLock& operator=(const OwnerLock&) = delete;
    ~OwnerLock();

    const std::string& file() const { return file_; }

private:
    OwnerLock() = default;
    std::string file_;
    int fd_ = -1;            // POSIX
    void* handle_ = nullptr; // Windows
};

} // namespace pitwall
