#include "base/OwnerLock.h"

#include "base/FileUtils.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pitwall {

#ifndef _WIN32

std::unique_ptr<OwnerLock> OwnerLock::tryTake(const std::string& lockFile)
{
    int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()
        || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    std::unique_ptr<OwnerLock> lock(new OwnerLock);
    lock->file_ = lockFile;
    lock->fd_ = fd;
    return lock;
}

OwnerLock::~OwnerLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

#else

std::unique_ptr<OwnerLock> OwnerLock::tryTake(const std::string& lockFile)
{
    HANDLE file =
        ::CreateFileW(NativePath(lockFile).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    OVERLAPPED at{};
    if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        ::CloseHandle(file);
        return nullptr;
    }
    std::unique_ptr<OwnerLock> lock(new OwnerLock);
    lock->file_ = lockFile;
    lock->handle_ = file;
    return lock;
}

OwnerLock::~OwnerLock()
{
    if (handle_)
        ::CloseHandle(static_cast<HANDLE>(handle_));
}

#endif

} // namespace pitwall
