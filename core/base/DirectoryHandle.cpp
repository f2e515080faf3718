#include "base/DirectoryHandle.h"

#include "base/FileUtils.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fstream>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace pitwall {

namespace {

bool IsPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".."
        && name.find_first_of(std::string("/") + kPathSeparator) == std::string::npos;
}

void RequirePlainName(const std::string& name)
{
    if (!IsPlainName(name))
        throw PrivateDirectoryError("Not a plain file name: " + name);
}

#ifndef _WIN32

std::string Reason(int error) { return std::generic_category().message(error); }

// The directory behind `fd` must be a real one of ours (see
// RequireOwnedDirectory); `fd` is closed when it is not.
void RequireOwned(int fd, const std::string& path)
{
    try {
        RequireOwnedDirectory(fd, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
}

// Empties the directory behind `fd` (which it closes), never leaving it.
bool EmptyDirectory(int fd)
{
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    std::vector<std::string> names;
    while (dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    bool ok = true;
    const int at = ::dirfd(dir);
    for (const auto& name : names) {
        struct stat st {};
        if (::fstatat(at, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            // Its entries can only go when it is writable for us.
            int child = ::openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child < 0) {
                ok = false;
                continue;
            }
            struct stat cs {};
            if (::fstat(child, &cs) == 0 && cs.st_uid == ::geteuid() && (cs.st_mode & S_IRWXU) != S_IRWXU)
                ::fchmod(child, (cs.st_mode & 07777) | S_IRWXU);
            ok = EmptyDirectory(child) && ok;
            if (::unlinkat(at, name.c_str(), AT_REMOVEDIR) != 0)
                ok = false;
        } else if (::unlinkat(at, name.c_str(), 0) != 0) {
            ok = false;
        }
    }
    ::closedir(dir);
    return ok;
}

#endif

} // namespace

#ifndef _WIN32

DirectoryHandle DirectoryHandle::openOwned(const std::string& directory, bool create)
{
    std::string path = ExcludeTrailingBackslash(directory);
    if (create && ::mkdir(path.c_str(), 0700) != 0 && errno == ENOENT) {
        std::string parent = DirectoryOf(path);
        if (!parent.empty())
            ForceDirectories(parent);
        ::mkdir(path.c_str(), 0700);
    }
    int fd = OpenDirectoryNoFollow(AT_FDCWD, path, path);
    RequireOwned(fd, path);
    return DirectoryHandle(fd, IncludeTrailingBackslash(path));
}

DirectoryHandle DirectoryHandle::openAny(const std::string& directory)
{
    std::string path = ExcludeTrailingBackslash(directory);
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw PrivateDirectoryError("Cannot open the directory " + path + ": " + Reason(errno));
    return DirectoryHandle(fd, IncludeTrailingBackslash(path));
}

DirectoryHandle::DirectoryHandle(DirectoryHandle&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_))
{
    other.fd_ = -1;
}

DirectoryHandle& DirectoryHandle::operator=(DirectoryHandle&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.fd_;
        path_ = std::move(other.path_);
        other.fd_ = -1;
    }
    return *this;
}

DirectoryHandle::~DirectoryHandle()
{
    if (fd_ >= 0)
        ::close(fd_);
}

DirectoryHandle DirectoryHandle::ownedChild(const std::string& name, bool create) const
{
    RequirePlainName(name);
    if (create)
        ::mkdirat(fd_, name.c_str(), 0700);
    int fd = OpenDirectoryNoFollow(fd_, name, path_ + name);
    RequireOwned(fd, path_ + name);
    return DirectoryHandle(fd, path_ + name + kPathSeparator);
}

std::optional<DirectoryHandle> DirectoryHandle::createNewChild(const std::string& name) const
{
    RequirePlainName(name);
    if (::mkdirat(fd_, name.c_str(), 0700) != 0) {
        if (errno == EEXIST)
            return std::nullopt;
        throw PrivateDirectoryError("Cannot create the directory " + path_ + name + ": " + Reason(errno));
    }
    return ownedChild(name, false);
}

std::optional<DirectoryHandle> DirectoryHandle::anyChild(const std::string& name) const
{
    if (!IsPlainName(name))
        return std::nullopt;
    int fd = ::openat(fd_, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    return DirectoryHandle(fd, path_ + name + kPathSeparator);
}

std::vector<std::string> DirectoryHandle::names() const
{
    std::vector<std::string> list;
    int fd = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return list;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return list;
    }
    while (dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name != "." && name != "..")
            list.push_back(name);
    }
    ::closedir(dir);
    return list;
}

DirectoryEntry DirectoryHandle::entry(const std::string& name) const
{
    DirectoryEntry e;
    struct stat st {};
    if (!IsPlainName(name) || ::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return e;
    e.exists = true;
    e.isDirectory = S_ISDIR(st.st_mode);
    e.isRegularFile = S_ISREG(st.st_mode);
    e.isLink = S_ISLNK(st.st_mode);
    e.ownedByUser = st.st_uid == ::geteuid();
    e.modifiedSeconds = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    e.modifiedNanoseconds = e.modifiedSeconds * 1'000'000'000 + static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    return e;
}

bool DirectoryHandle::remove(const std::string& name) const
{
    DirectoryEntry e = entry(name);
    if (!e.exists)
        return true;
    if (!e.isDirectory)
        return ::unlinkat(fd_, name.c_str(), 0) == 0;
    int fd = ::openat(fd_, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = EmptyDirectory(fd);
    return ::unlinkat(fd_, name.c_str(), AT_REMOVEDIR) == 0 && ok;
}

std::optional<std::string> DirectoryHandle::readSmallFile(const std::string& name, std::size_t maxBytes) const
{
    if (!IsPlainName(name))
        return std::nullopt;
    int fd = ::openat(fd_, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    std::string text;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        text.resize(maxBytes);
        std::size_t got = 0;
        while (got < maxBytes) {
            ssize_t n = ::read(fd, text.data() + got, maxBytes - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        text.resize(got);
        ::close(fd);
        return text;
    }
    ::close(fd);
    return std::nullopt;
}

void DirectoryHandle::writeNewFile(const std::string& name, const std::string& text) const
{
    RequirePlainName(name);
    int fd = ::openat(fd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        throw PrivateDirectoryError("Cannot create " + path_ + name + ": " + Reason(errno));
    bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlinkat(fd_, name.c_str(), 0);
        throw PrivateDirectoryError("Cannot write " + path_ + name);
    }
}

#else

// Windows: the same checks by name (a reparse point counts as a link); the
// user's profile folders carry an ACL for the user alone.

namespace {

void RequireRealDirectory(const std::string& path)
{
    std::error_code ec;
    auto st = fs::symlink_status(NativePath(path), ec);
    if (ec || fs::is_symlink(st) || !fs::is_directory(st))
        throw PrivateDirectoryError("The directory " + path + " is a link or not a directory");
}

} // namespace

DirectoryHandle DirectoryHandle::openOwned(const std::string& directory, bool create)
{
    std::string path = ExcludeTrailingBackslash(directory);
    if (create)
        ForceDirectories(path);
    RequireRealDirectory(path);
    return DirectoryHandle(-1, IncludeTrailingBackslash(path));
}

DirectoryHandle DirectoryHandle::openAny(const std::string& directory)
{
    std::string path = ExcludeTrailingBackslash(directory);
    if (!DirectoryExists(path))
        throw PrivateDirectoryError("Cannot open the directory " + path);
    return DirectoryHandle(-1, IncludeTrailingBackslash(path));
}

DirectoryHandle::DirectoryHandle(DirectoryHandle&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) {}
DirectoryHandle& DirectoryHandle::operator=(DirectoryHandle&& other) noexcept
{
    fd_ = other.fd_;
    path_ = std::move(other.path_);
    return *this;
}
DirectoryHandle::~DirectoryHandle() = default;

DirectoryHandle DirectoryHandle::ownedChild(const std::string& name, bool create) const
{
    RequirePlainName(name);
    if (create) {
        std::error_code ec;
        fs::create_directory(NativePath(path_ + name), ec);
    }
    RequireRealDirectory(path_ + name);
    return DirectoryHandle(-1, path_ + name + kPathSeparator);
}

std::optional<DirectoryHandle> DirectoryHandle::createNewChild(const std::string& name) const
{
    RequirePlainName(name);
    std::error_code ec;
    if (!fs::create_directory(NativePath(path_ + name), ec) || ec)
        return std::nullopt;
    return ownedChild(name, false);
}

std::optional<DirectoryHandle> DirectoryHandle::anyChild(const std::string& name) const
{
    DirectoryEntry e = entry(name);
    if (!e.isDirectory)
        return std::nullopt;
    return DirectoryHandle(-1, path_ + name + kPathSeparator);
}

std::vector<std::string> DirectoryHandle::names() const
{
    std::vector<std::string> list;
    std::error_code ec;
    for (fs::directory_iterator it(NativePath(path_), ec); !ec && it != fs::directory_iterator(); it.increment(ec))
        list.push_back(PathString(it->path().filename()));
    return list;
}

DirectoryEntry DirectoryHandle::entry(const std::string& name) const
{
    DirectoryEntry e;
    if (!IsPlainName(name))
        return e;
    std::error_code ec;
    auto st = fs::symlink_status(NativePath(path_ + name), ec);
    if (ec || !fs::exists(st))
        return e;
    e.exists = true;
    e.isLink = fs::is_symlink(st);
    e.isDirectory = !e.isLink && fs::is_directory(st);
    e.isRegularFile = !e.isLink && fs::is_regular_file(st);
    e.ownedByUser = true;
    auto time = fs::last_write_time(NativePath(path_ + name), ec);
    if (!ec)
        e.modifiedSeconds = std::chrono::duration_cast<std::chrono::seconds>(
                                std::chrono::file_clock::to_sys(time).time_since_epoch())
                                .count();
    e.modifiedNanoseconds = e.modifiedSeconds * 1'000'000'000;
    return e;
}

bool DirectoryHandle::remove(const std::string& name) const
{
    if (!IsPlainName(name))
        return false;
    DeleteTree(path_ + name);
    std::error_code ec;
    fs::remove(NativePath(path_ + name), ec);
    return !entry(name).exists;
}

std::optional<std::string> DirectoryHandle::readSmallFile(const std::string& name, std::size_t maxBytes) const
{
    DirectoryEntry e = entry(name);
    if (!e.isRegularFile)
        return std::nullopt;
    std::ifstream in(NativePath(path_ + name), std::ios::binary);
    std::string text(maxBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(maxBytes));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

void DirectoryHandle::writeNewFile(const std::string& name, const std::string& text) const
{
    RequirePlainName(name);
    if (entry(name).exists)
        throw PrivateDirectoryError("Cannot create " + path_ + name + ": something of that name is already there");
    std::ofstream out(NativePath(path_ + name), std::ios::binary);
    out << text;
    if (!out)
        throw PrivateDirectoryError("Cannot write " + path_ + name);
}

#endif

} // namespace pitwall
