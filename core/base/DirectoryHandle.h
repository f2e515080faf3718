#pragma once
// A directory held open, so that every step inside it (creating, reading,
// listing, deleting) goes through the one directory that was checked, and
// never through a link someone put in its place. Used for the program's own
// folders (restore points, locks, working folders of the command line),
// which must be real directories of this user before anything is written or
// deleted in them, and for clearing the program's leftovers in an
// installation.

#include "base/PrivateDirectory.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pitwall {

// What a name in a directory is, the name itself looked at (a link is a
// link, never what it points to).
struct DirectoryEntry {
    bool exists = false;
    bool isDirectory = false;
    bool isRegularFile = false;
    bool isLink = false;
    bool ownedByUser = false;
    std::int64_t modifiedSeconds = 0; // since the epoch
    std::int64_t modifiedNanoseconds = 0;
};

class DirectoryHandle {
public:
    // The directory as one of this user's own: a real directory (not a
    // link), owned by the user, left with owner-only access; created (0700)
    // when `create` and nothing of the name is there, its parents as usual.
    // Throws PrivateDirectoryError naming the directory and why.
    static DirectoryHandle openOwned(const std::string& path, bool create);
    // Any existing directory, without the checks (an installation, the
    // system's temporary directory). Throws PrivateDirectoryError.
    static DirectoryHandle openAny(const std::string& path);

    DirectoryHandle(DirectoryHandle&& other) noexcept;
    DirectoryHandle& operator=(DirectoryHandle&& other) noexcept;
    DirectoryHandle(const DirectoryHandle&) = delete;
    DirectoryHandle& operator=(const DirectoryHandle&) = delete;
    ~DirectoryHandle();

    // With trailing separator; for messages and for reading files by name.
    const std::string& path() const { return path_; }

    // A directory inside this one, held the same way as openOwned.
    DirectoryHandle ownedChild(const std::string& name, bool create) const;
    // A new directory inside this one (0700); nullopt when the name is taken.
    std::optional<DirectoryHandle> createNewChild(const std::string& name) const;
    // A directory inside this one without ownership checks; never a link.
    std::optional<DirectoryHandle> anyChild(const std::string& name) const;

    std::vector<std::string> names() const;
    DirectoryEntry entry(const std::string& name) const;

    // Removes a file or a whole tree by name. Links are removed as links,
    // never followed; directories are opened without following links, so a
    // tree can only be emptied where it really is. False when something
    // could not be removed.
    bool remove(const std::string& name) const;

    // The start of a small file of this directory (not a link), or nullopt.
    std::optional<std::string> readSmallFile(const std::string& name, std::size_t maxBytes) const;
    // Creates a new file (0600, not through a link) with the text; throws
    // PrivateDirectoryError.
    void writeNewFile(const std::string& name, const std::string& text) const;

#ifndef _WIN32
    int descriptor() const { return fd_; }
#endif

private:
    DirectoryHandle(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    int fd_ = -1;
    std::string path_;
};

} // namespace pitwall
