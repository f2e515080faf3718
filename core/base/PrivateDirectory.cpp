#include "base/PrivateDirectory.h"

#include "base/FileUtils.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <random>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace pitwall {

namespace {

#ifndef _WIN32
std::string Reason(int error) { return std::generic_category().message(error); }
#endif

// The directory must be a real one (a link to one does not count) that we
// own; it is left with exactly owner-only access. The checks go through one
// descriptor opened without following links, so nothing can be swapped in
// between them.
void RequireOwnedPath(const std::string& directory)
{
    std::string path = ExcludeTrailingBackslash(directory);
#ifdef _WIN32
    std::error_code ec;
    auto st = fs::symlink_status(NativePath(path), ec);
    if (ec || fs::is_symlink(st) || !fs::is_directory(st))
        throw PrivateDirectoryError("The directory " + path + " is a link or not a directory");
#else
    int fd = OpenDirectoryNoFollow(AT_FDCWD, path, path);
    try {
        RequireOwnedDirectory(fd, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
#endif
}

} // namespace

#ifndef _WIN32

int OpenDirectoryNoFollow(int parent, const std::string& name, const std::string& path)
{
    int fd = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        int error = errno;
        if (error == ELOOP || error == ENOTDIR)
            throw PrivateDirectoryError("The directory " + path + " is a link or not a directory");
        throw PrivateDirectoryError("Cannot open the directory " + path + ": " + Reason(error));
    }
    return fd;
}

void RequireOwnedDirectory(int fd, const std::string& path)
{
    struct stat st {};
    std::string problem;
    if (::fstat(fd, &st) != 0)
        problem = "Cannot examine the directory " + path + ": " + Reason(errno);
    else if (!S_ISDIR(st.st_mode))
        problem = "The directory " + path + " is not a directory";
    else if (st.st_uid != ::geteuid())
        problem = "The directory " + path + " belongs to another user";
    else if ((st.st_mode & 07777) != 0700 && ::fchmod(fd, 0700) != 0)
        problem = "Cannot restrict the directory " + path + " to its owner: " + Reason(errno);
    if (!problem.empty())
        throw PrivateDirectoryError(problem);
}

#endif

void CreatePrivateDirectory(const std::string& directory)
{
    std::string path = ExcludeTrailingBackslash(directory);
#ifdef _WIN32
    // Below the user's profile, a new directory inherits an ACL for that
    // user alone; create_directory fails for anything already there.
    std::error_code ec;
    if (!fs::create_directory(NativePath(path), ec) || ec)
        throw PrivateDirectoryError("Cannot create the directory " + path + ": "
                                    + (ec ? ec.message() : std::string("something of that name is already there")));
#else
    if (::mkdir(path.c_str(), 0700) != 0) {
        int error = errno;
        throw PrivateDirectoryError(
            "Cannot create the directory " + path + ": "
            + (error == EEXIST ? std::string("something of that name is already there") : Reason(error)));
    }
#endif
    RequireOwnedPath(path);
}

void EnsurePrivateDirectory(const std::string& directory)
{
    std::string path = ExcludeTrailingBackslash(directory);
    std::error_code ec;
    auto st = fs::symlink_status(NativePath(path), ec);
    if (!fs::exists(st)) {
        std::string parent = DirectoryOf(path);
        if (!parent.empty())
            ForceDirectories(parent);
        CreatePrivateDirectory(path);
        return;
    }
    RequireOwnedPath(path);
}

PrivateDirectory::PrivateDirectory(const std::string& parent, const std::string& prefix)
{
    std::string base = IncludeTrailingBackslash(parent) + prefix;
#ifdef _WIN32
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        std::string name = base;
        for (int i = 0; i < 6; ++i)
            name += kLetters[pick(random)];
        std::error_code ec;
        if (fs::create_directory(NativePath(name), ec) && !ec)
            path_ = IncludeTrailingBackslash(name);
    }
    if (path_.empty())
        throw PrivateDirectoryError("Cannot create a working directory in " + parent);
#else
    std::vector<char> name(base.begin(), base.end());
    for (char c : std::string("XXXXXX"))
        name.push_back(c);
    name.push_back('\0');
    // mkdtemp picks a name nobody has and creates it with mode 0700 in one step.
    if (!::mkdtemp(name.data()))
        throw PrivateDirectoryError("Cannot create a working directory in " + parent + ": " + Reason(errno));
    path_ = IncludeTrailingBackslash(name.data());
#endif
}

PrivateDirectory::~PrivateDirectory() { DeleteTree(path_); }

} // namespace pitwall
