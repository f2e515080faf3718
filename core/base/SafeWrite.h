#pragma once
// Replacing a file as a whole so that a failure at any point (a full disk, a
// file-size limit, a killed process) leaves either the old file or the new
// one, never a mixture: the new bytes go to a fresh temporary file in the
// same directory, are flushed to the disk, and only then renamed over the
// target. Game files are never rewritten in place.

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

// A file could not be written; the file named is the one the program meant
// to write (never an internal temporary name), the reason is the system's.
class FileWriteError : public std::runtime_error {
public:
    FileWriteError(std::string file, std::string reason);
    const std::string& file() const { return file_; }
    const std::string& reason() const { return reason_; }

private:
    std::string file_;
    std::string reason_;
};

// What a replacement does with a target that is a symbolic link: replaces
// the link with the new file (game files, whose restore points keep the
// link as it is), or writes the file the link names and keeps the link (the
// program's own settings file, linked from a folder of the user's).
enum class LinkTarget { Replace, WriteThrough };

// Writes `bytes` as the new content of `file`. An existing file keeps its
// permissions (made writable for its owner, as game files are before they
// are replaced); a new one gets the usual permissions. A target that is no
// plain file (a pipe, a device, a folder) is refused. Throws FileWriteError
// and leaves the old file byte for byte as it was when anything fails.
void ReplaceFileSafely(std::string_view file, std::span<const std::uint8_t> bytes,
                       LinkTarget link = LinkTarget::Replace);

// Copies `source` over `target` the same way, in pieces. Throws
// std::runtime_error when the source cannot be read, FileWriteError when the
// target cannot be written; the target is then as it was. `eachPiece`, when
// given, sees every piece as it is written (to hash the copy on the way).
using CopiedPiece = std::function<void(std::span<const std::uint8_t>)>;
void CopyFileSafely(std::string_view source, std::string_view target, const CopiedPiece& eachPiece = {});

// Copies `source` into the new file `target` directly, without a temporary
// name and without waiting for the disk: only for copies whose completeness
// is recorded elsewhere (a restore point lists its copies with their hashes
// in a manifest written last, safely). Pair it with SyncFilesToDisk. Throws
// like CopyFileSafely; a copy that fails is removed.
void CopyFileAsNew(std::string_view source, std::string_view target, const CopiedPiece& eachPiece = {});
// SyncFileToDisk for many files: all are handed to the disk first and then
// waited for, several at once, so the disk takes them in one stretch.
// `keepAlive`, when given, is called every 40 ms or so while they are.
void SyncFilesToDisk(const std::vector<std::string>& files, const std::function<void()>& keepAlive = {});

// Flushes a file that was written by other means to the disk, so a rename
// that follows cannot outrun its content. Throws FileWriteError.
void SyncFileToDisk(std::string_view file);

// The mark in the temporary names of StagedFiles (".NAME" + mark + sixteen
// hex digits). Such files only exist while a writer holds the installation's
// lock; one found by the next holder is the leftover of a killed run.
inline constexpr std::string_view kStagedFileMark = ".pitwall-staged-";

// How much of a large file a writer hands to the disk at a time while it goes
// on writing (SafeFileWriter::startWritingOut).
inline constexpr std::uint64_t kWriteOutStretch = 16u << 20;

// Many new contents replacing their files together: each is written under a
// temporary name beside its target (stage), then all are flushed to the disk
// at once, several syncs in flight (syncAll), then each takes its target's
// name (takeName) and each directory is synced once (syncDirectories). A
// file reaches the disk whole before it takes its name; the disk takes the
// files in one stretch instead of waiting for each in turn. Staged files that
// never took their names are removed by discard() and the destructor.
class StagedFiles {
public:
    StagedFiles() = default;
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Writes `bytes` as the coming content of `file` (the permissions as
    // ReplaceFileSafely gives them); returns its index. Throws
    // FileWriteError naming `file`, also for a target that is no plain file.
    // A game file that is a symbolic link is replaced, not written through
    // (LinkTarget::Replace).
    std::size_t stage(const std::string& file, std::span<const std::uint8_t> bytes);
    // Flushes every staged file to the disk. Throws FileWriteError naming
    // the first file that failed.
    void syncAll();
    // The staged file `index` replaces its target (after syncAll). Throws
    // FileWriteError; the target is then as it was.
    void takeName(std::size_t index);
    // Syncs each directory a file took its name in, once.
    void syncDirectories();
    // Removes the staged files that did not take their names.
    void discard();
    std::size_t size() const { return files_.size(); }
    // Called between the pieces of a large file's write and every 40 ms or
    // so while the disk syncs (the desktop keeps its windows painted there).
    // Without it, each file is written in one go and the calling thread
    // syncs too.
    void setKeepAlive(std::function<void()> keepAlive) { keepAlive_ = std::move(keepAlive); }

private:
    struct File {
        std::string target;
        std::string temporary; // empty once renamed or removed
        int fd = -1;           // open until synced
        bool synced = false;
    };
    void syncOpen();

    std::vector<File> files_;
    std::vector<std::string> renamedIn_; // directories
    std::function<void()> keepAlive_;
};

// Whether a new content reaches the disk before it takes the target's name:
// always for game files; a private working copy, whose content is written to
// the game safely later, need not wait for the disk.
enum class WriteSync { ToDisk, NotNeeded };

// A new content for `file` written piece by piece (for files too large to
// assemble in memory). Nothing changes at `file` until commit(); an object
// destroyed without commit() removes its temporary file. The temporary is
// always a fresh file of its own (never a name someone could have placed a
// link at), so two runs never write into the same one.
class SafeFileWriter {
public:
    explicit SafeFileWriter(std::string file, LinkTarget link = LinkTarget::Replace);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Appends. Throws FileWriteError with the system's reason.
    void write(std::span<const std::uint8_t> bytes);
    // Overwrites bytes already written, from `offset` (a header whose values
    // are known only at the end). Throws FileWriteError, also for a range
    // beyond what was written.
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    std::uint64_t written() const { return written_; }
    // Makes the new content `size` bytes long, zeros beyond what was
    // written, for writeAt and copyAt to fill in any order. Throws
    // FileWriteError.
    void resize(std::uint64_t size);
    // Copies `length` bytes of `source` from `sourceOffset` to `offset` of
    // the new content (within its size), by the system where it can, without
    // a pass through the program's memory. Where the source ends early the
    // rest stays as it is. Throws std::runtime_error when the source cannot
    // be read, FileWriteError when the copy cannot be written.
    void copyAt(std::string_view source, std::uint64_t sourceOffset, std::uint64_t length, std::uint64_t offset);
    // Lets the system start writing what was written so far out to the disk
    // (Linux; a hint only, elsewhere nothing), so that the sync of commit()
    // does not wait for a large file all at once. Writers of large files call
    // it after every kWriteOutStretch bytes.
    void startWritingOut();
    // The same for the whole content, for one filled in any order (resize,
    // writeAt, copyAt): the system starts on whatever it holds unwritten.
    void startWritingOutAll();
    // Flushes to the disk (unless told it need not) and renames over the
    // target. Throws FileWriteError.
    void commit(WriteSync sync = WriteSync::ToDisk);
    // Drops what was written; the target stays as it was.
    void discard();

private:
    std::string file_;
    std::string target_; // where the new content takes its name
    std::string temporary_;
    int fd_ = -1;
    std::uint64_t written_ = 0;
    std::uint64_t writingOut_ = 0; // bytes handed to the disk by startWritingOut()
};

} // namespace pitwall
