#pragma once
// Working and staging directories that belong to this program alone. Carset
// members are unpacked into them and game files are staged in them, often as
// root for an installation under /opt or C:\Program Files, so nobody else may
// plant files or links in them: they are created fresh with owner-only
// access, and one that exists already must be a real directory (not a link)
// that we own.

#include <stdexcept>
#include <string>

namespace pitwall {

class PrivateDirectoryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

#ifndef _WIN32
// Opens `name` in the directory `parent` (AT_FDCWD: `name` is a path) as a
// directory, never through a link. Throws PrivateDirectoryError naming
// `path`.
int OpenDirectoryNoFollow(int parent, const std::string& name, const std::string& path);
// The directory open as `fd` must be a real directory of this user's; it is
// left with exactly owner-only access. Throws PrivateDirectoryError naming
// `path` otherwise (`fd` stays open either way).
void RequireOwnedDirectory(int fd, const std::string& path);
#endif

// Creates the directory with owner-only access (0700). Anything already of
// that name, a link included, is an error: nothing is reused. Its parent
// must exist. Throws PrivateDirectoryError naming the directory and why.
void CreatePrivateDirectory(const std::string& directory);

// The directory as a private one: created as above when there is nothing of
// that name (its parents with ForceDirectories); an existing one must be a
// real directory owned by us, and loses any group and other access. Throws
// PrivateDirectoryError otherwise.
void EnsurePrivateDirectory(const std::string& directory);

// A new directory with a random name below `parent` (mkdtemp), owner-only,
// deleted with everything in it when the object goes.
class PrivateDirectory {
public:
    // `prefix` starts the name; six random characters follow. Throws
    // PrivateDirectoryError when no directory can be made.
    PrivateDirectory(const std::string& parent, const std::string& prefix);
    ~PrivateDirectory();
    PrivateDirectory(const PrivateDirectory&) = delete;
    PrivateDirectory& operator=(const PrivateDirectory&) = delete;

    // With trailing separator.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

} // namespace pitwall
