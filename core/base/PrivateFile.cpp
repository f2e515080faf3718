#include "base/PrivateFile.h"

#include "base/FileUtils.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace pitwall {

namespace {

#ifdef _WIN32
int OpenNew(const std::string& path)
{
    return ::_wopen(NativePath(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long WriteSome(int fd, const std::uint8_t* data, std::size_t size)
{
    return ::_write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}
int CloseFile(int fd) { return ::_close(fd); }
#else
int OpenNew(const std::string& path)
{
    // O_EXCL alone already refuses a link of that name; O_NOFOLLOW says so.
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}
long WriteSome(int fd, const std::uint8_t* data, std::size_t size)
{
    return static_cast<long>(::write(fd, data, std::min<std::size_t>(size, 1u << 30)));
}
int CloseFile(int fd) { return ::close(fd); }
#endif

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error)
{
    std::error_code code(error, std::generic_category());
    throw PrivateFileError(what + " " + path + ": " + code.message(), code);
}

// Removes a link itself, never what it points to. Whatever cannot be removed
// (a directory) makes an exclusive create after it fail.
void RemoveLeftover(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove(NativePath(path), ignored);
}

// Writes all of `bytes` at the file's position; on failure closes `fd`,
// removes `path` and throws.
void WriteAllOrDrop(int fd, const std::string& path, std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        long n = WriteSome(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            int error = n < 0 ? errno : ENOSPC;
            CloseFile(fd);
            RemoveLeftover(path);
            Fail("Cannot write", path, error);
        }
        done += static_cast<std::size_t>(n);
    }
}

// Creates `path` anew (a leftover of that name removed first) and writes
// `bytes`; returns the open handle.
int CreateAndWrite(const std::string& path, std::span<const std::uint8_t> bytes, Leftover leftover)
{
    if (leftover == Leftover::Replace)
        RemoveLeftover(path);
    int fd = OpenNew(path);
    if (fd < 0)
        Fail("Cannot create", path, errno);
    WriteAllOrDrop(fd, path, bytes);
    return fd;
}

} // namespace

void WriteNewPrivateFile(const std::string& path, std::span<const std::uint8_t> bytes, Leftover leftover)
{
    int fd = CreateAndWrite(path, bytes, leftover);
    if (CloseFile(fd) != 0) {
        int error = errno;
        RemoveLeftover(path);
        Fail("Cannot write", path, error);
    }
}

ReusedPrivateFile::ReusedPrivateFile(ReusedPrivateFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_))
{}

ReusedPrivateFile::~ReusedPrivateFile() { remove(); }

void ReusedPrivateFile::remove()
{
    if (fd_ < 0)
        return;
    CloseFile(fd_);
    fd_ = -1;
    RemoveLeftover(path_);
}

void ReusedPrivateFile::write(const std::string& path, std::span<const std::uint8_t> bytes)
{
#ifdef _WIN32
    remove();
#else
    if (fd_ >= 0) {
        // rename() replaces a file or link of the new name itself; what it
        // cannot replace (a directory) ends the reuse, and the create below
        // reports it.
        std::error_code renamed;
        if (path != path_)
            std::filesystem::rename(NativePath(path_), NativePath(path), renamed);
        if (renamed) {
            remove();
        } else {
            path_ = path;
            // Written over the last member's bytes and cut to length after:
            // the file's cached pages are reused instead of freed and taken
            // afresh for every member.
            if (::lseek(fd_, 0, SEEK_SET) != 0) {
                const int error = errno;
                remove();
                Fail("Cannot write", path, error);
            }
            try {
                WriteAllOrDrop(fd_, path_, bytes);
            } catch (...) {
                fd_ = -1; // closed and removed already
                throw;
            }
            if (::ftruncate(fd_, static_cast<off_t>(bytes.size())) != 0) {
                const int error = errno;
                remove();
                Fail("Cannot write", path, error);
            }
            return;
        }
    }
#endif
    fd_ = CreateAndWrite(path, bytes, Leftover::Replace);
    path_ = path;
}

} // namespace pitwall
