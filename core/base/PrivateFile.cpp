#include "base/PrivateFile.h"

#include "base/FileUtils.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

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

} // namespace

void WriteNewPrivateFile(const std::string& path, std::span<const std::uint8_t> bytes, Leftover leftover)
{
    if (leftover == Leftover::Replace) {
        // Removes a link itself, never what it points to. Whatever cannot be
        // removed (a directory) makes the exclusive create below fail.
        std::error_code ignored;
        std::filesystem::remove(NativePath(path), ignored);
    }
    int fd = OpenNew(path);
    if (fd < 0)
        Fail("Cannot create", path, errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
        long n = WriteSome(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            int error = n < 0 ? errno : ENOSPC;
            CloseFile(fd);
            std::error_code ignored;
            std::filesystem::remove(NativePath(path), ignored);
            Fail("Cannot write", path, error);
        }
        done += static_cast<std::size_t>(n);
    }
    if (CloseFile(fd) != 0) {
        int error = errno;
        std::error_code ignored;
        std::filesystem::remove(NativePath(path), ignored);
        Fail("Cannot write", path, error);
    }
}

} // namespace pitwall
