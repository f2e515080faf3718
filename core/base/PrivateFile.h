#pragma once
// Files the program creates inside its private working and staging
// directories (unpacked carset members, staged members). Such a file is
// always new: it is created exclusively with owner-only access, and a link
// of that name is never followed, so nothing written there can land outside
// the directory.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <system_error>

namespace pitwall {

class PrivateFileError : public std::runtime_error {
public:
    PrivateFileError(const std::string& what, std::error_code code) : std::runtime_error(what), code_(code) {}
    // Why the system refused (no space left, file too large, file exists ...).
    std::error_code code() const { return code_; }

private:
    std::error_code code_;
};

// What to do when something of the name is already there.
enum class Leftover {
    Refuse,  // an error: the file must be new
    Replace, // the program's own stale file: removed first, as a link if it is one
};

// Creates the file (mode 0600) and writes the bytes. Throws PrivateFileError
// when it exists (with Leftover::Refuse, or when it cannot be removed) or
// cannot be written in full; a partly written file is removed again.
void WriteNewPrivateFile(const std::string& path, std::span<const std::uint8_t> bytes,
                         Leftover leftover = Leftover::Refuse);

// One private file that a run of contents passes through in turn, each
// under its own name: the first is written as WriteNewPrivateFile does with
// Leftover::Replace; each next one renames the file to its name (replacing
// whatever had that name, a link as a link) and writes through the handle
// kept open, so no name is ever opened again. The file is removed by
// remove() or at the end. Creating and deleting a file for every content
// costs the file system an inode each time; on ext4 without a journal each
// new inode is searched for past every one freed in the last minute, so a
// carset's few hundred members made that search quadratic. (Windows cannot
// rename an open file: there each content gets a new file.)
class ReusedPrivateFile {
public:
    ReusedPrivateFile() = default;
    ~ReusedPrivateFile();
    ReusedPrivateFile(ReusedPrivateFile&& other) noexcept;
    ReusedPrivateFile& operator=(ReusedPrivateFile&&) = delete;

    // Throws PrivateFileError as WriteNewPrivateFile does; the file is then
    // gone.
    void write(const std::string& path, std::span<const std::uint8_t> bytes);
    void remove();

private:
    int fd_ = -1;
    std::string path_;
};

} // namespace pitwall
