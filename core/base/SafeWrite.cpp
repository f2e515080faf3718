#include "base/SafeWrite.h"

#include "base/FileUtils.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <random>
#include <system_error>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pitwall {

FileWriteError::FileWriteError(std::string file, std::string reason)
    : std::runtime_error("Cannot write " + file + ": " + reason), file_(std::move(file)), reason_(std::move(reason))
{}

namespace {

std::string SystemReason(int error) { return std::strerror(error); }

// A name beside the target that no other file has: hidden, and marked as
// ours so a left-over from a killed run is recognisable.
constexpr std::string_view kTemporaryMark = ".pitwall-";

std::string TemporaryNameFor(const std::string& file, std::string_view mark)
{
    std::random_device device;
    std::uniform_int_distribution<unsigned long long> pick;
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", pick(device));
    return DirectoryOf(file) + "." + FileNameOf(file) + std::string(mark) + suffix;
}

#ifndef _WIN32

int OpenTemporary(const std::string& file, std::string& temporary, std::string_view mark = kTemporaryMark)
{
    // The target's permissions, made writable for its owner; a new file gets
    // what the user's umask gives.
    mode_t mode = 0666;
    struct stat st;
    bool existing = ::stat(NativePath(file).c_str(), &st) == 0;
    if (existing)
        mode = (st.st_mode & 07777) | S_IWUSR;
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = TemporaryNameFor(file, mark);
        int fd = ::open(NativePath(temporary).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) {
            if (existing)
                ::fchmod(fd, mode); // not narrowed by the umask
            return fd;
        }
        if (errno != EEXIST)
            throw FileWriteError(file, SystemReason(errno));
    }
    throw FileWriteError(file, "no free temporary name in its directory");
}

void WriteAll(int fd, const std::string& file, std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileWriteError(file, SystemReason(errno));
        }
        if (n == 0)
            throw FileWriteError(file, "the disk took no more bytes");
        done += static_cast<std::size_t>(n);
    }
}

void SyncDirectory(const std::string& directory)
{
    int fd = ::open(NativePath(directory.empty() ? "." : directory).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd); // the rename itself reaches the disk
    ::close(fd);
}

void WriteAllAt(int fd, const std::string& file, std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileWriteError(file, SystemReason(errno));
        }
        if (n == 0)
            throw FileWriteError(file, "the disk took no more bytes");
        done += static_cast<std::size_t>(n);
    }
}

// Flushes and closes; throws with the system's reason (the descriptor is
// closed either way).
void SyncAndClose(int fd, const std::string& file, WriteSync sync)
{
    if (sync == WriteSync::ToDisk && ::fsync(fd) != 0) {
        int error = errno;
        ::close(fd);
        throw FileWriteError(file, SystemReason(error));
    }
    if (::close(fd) != 0)
        throw FileWriteError(file, SystemReason(errno));
}

void RenameOver(const std::string& temporary, const std::string& file)
{
    if (::rename(NativePath(temporary).c_str(), NativePath(file).c_str()) != 0)
        throw FileWriteError(file, SystemReason(errno));
}

void StartWritingOut(int fd)
{
#ifdef __linux__
    ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    (void)fd;
#endif
}

void FinishAndRename(int fd, const std::string& temporary, const std::string& file, WriteSync sync)
{
    SyncAndClose(fd, file, sync);
    RenameOver(temporary, file);
    if (sync == WriteSync::ToDisk)
        SyncDirectory(DirectoryOf(file));
}

#else

int OpenTemporary(const std::string& file, std::string& temporary, std::string_view mark = kTemporaryMark)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = TemporaryNameFor(file, mark);
        int fd = ::_wopen(NativePath(temporary).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            throw FileWriteError(file, SystemReason(errno));
    }
    throw FileWriteError(file, "no free temporary name in its directory");
}

void WriteAll(int fd, const std::string& file, std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        int n = ::_write(fd, bytes.data() + done, chunk);
        if (n <= 0)
            throw FileWriteError(file, SystemReason(errno));
        done += static_cast<std::size_t>(n);
    }
}

void WriteAllAt(int fd, const std::string& file, std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    const __int64 end = ::_lseeki64(fd, 0, SEEK_END);
    if (end < 0 || ::_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) < 0)
        throw FileWriteError(file, SystemReason(errno));
    WriteAll(fd, file, bytes);
    if (::_lseeki64(fd, end, SEEK_SET) < 0)
        throw FileWriteError(file, SystemReason(errno));
}

void SyncAndClose(int fd, const std::string& file, WriteSync sync)
{
    if (sync == WriteSync::ToDisk && ::_commit(fd) != 0) {
        int error = errno;
        ::_close(fd);
        throw FileWriteError(file, SystemReason(error));
    }
    ::_close(fd);
}

void RenameOver(const std::string& temporary, const std::string& file)
{
    ClearReadOnly(file);
    if (!::MoveFileExW(NativePath(temporary).c_str(), NativePath(file).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw FileWriteError(file, "the file could not be replaced (error " + std::to_string(::GetLastError()) + ")");
}

// The rename is written through to the disk already.
void SyncDirectory(const std::string&) {}

void StartWritingOut(int) {}

void FinishAndRename(int fd, const std::string& temporary, const std::string& file, WriteSync sync)
{
    SyncAndClose(fd, file, sync);
    RenameOver(temporary, file);
}

#endif

// Renaming a new content over anything but a plain file would put a plain
// file in its place: a pipe's reader would get nothing, a device would be
// gone.
void RefuseNoPlainFile(const std::string& file)
{
    std::error_code ec;
    const auto status = std::filesystem::status(NativePath(file), ec);
    if (!ec && status.type() != std::filesystem::file_type::not_found
        && status.type() != std::filesystem::file_type::regular)
        throw FileWriteError(file, "it is not a plain file");
}

// Where a new content of `file` takes its name: with WriteThrough, a
// symbolic link is followed to the file it names and stays a link.
std::string ReplacementTarget(const std::string& file, LinkTarget link)
{
    if (link == LinkTarget::Replace) {
        RefuseNoPlainFile(file);
        return file;
    }
    std::filesystem::path at = NativePath(file);
    bool followed = false;
    for (int hops = 0;; ++hops) {
        std::error_code ec;
        if (std::filesystem::symlink_status(at, ec).type() != std::filesystem::file_type::symlink || ec)
            break;
        if (hops == 40)
            throw FileWriteError(file, "its symbolic links go round in a circle");
        std::filesystem::path next = std::filesystem::read_symlink(at, ec);
        if (ec)
            throw FileWriteError(file, SystemReason(ec.value()));
        at = next.is_absolute() ? next : at.parent_path() / next;
        followed = true;
    }
    const std::string target = followed ? PathString(at) : file;
    RefuseNoPlainFile(target);
    return target;
}

// A buffer for copying `source` in pieces: 1 MB, or less for a smaller file
// (fresh memory costs a page fault every 4 KB, and most game files are
// small).
std::vector<char> PieceBuffer(std::string_view source)
{
    constexpr std::uintmax_t kPiece = 1 << 20;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(NativePath(source), ec);
    const std::uintmax_t n = ec ? kPiece : std::min(size + 1, kPiece);
    return std::vector<char>(static_cast<std::size_t>(n));
}

void RemoveTemporary(const std::string& temporary)
{
    std::error_code ec;
    std::filesystem::remove(NativePath(temporary), ec);
}

void CloseQuietly(int fd)
{
#ifdef _WIN32
    ::_close(fd);
#else
    ::close(fd);
#endif
}

} // namespace

void CopyFileSafely(std::string_view source, std::string_view target, const CopiedPiece& eachPiece)
{
    std::ifstream in = OpenFileForReading(source);
    SafeFileWriter out{std::string(target)};
    std::vector<char> buffer = PieceBuffer(source);
    // The disk starts on each stretch of a large copy while the rest is read,
    // so the sync before it takes its name does not wait for all of it.
    std::uint64_t writingOut = 0;
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        std::streamsize got = in.gcount();
        if (got > 0) {
            const auto piece =
                std::span(reinterpret_cast<const std::uint8_t*>(buffer.data()), static_cast<std::size_t>(got));
            out.write(piece);
            if (out.written() - writingOut >= kWriteOutStretch) {
                out.startWritingOut();
                writingOut = out.written();
            }
            if (eachPiece)
                eachPiece(piece);
        }
    }
    if (in.bad())
        throw std::runtime_error("Cannot read " + std::string(source));
    out.commit();
}

void CopyFileAsNew(std::string_view source, std::string_view target, const CopiedPiece& eachPiece)
{
    std::ifstream in = OpenFileForReading(source);
    std::ofstream out(NativePath(target), std::ios::binary | std::ios::trunc);
    if (!out)
        throw FileWriteError(std::string(target), "it could not be created");
    auto fail = [&](std::string reason) {
        out.close();
        RemoveTemporary(std::string(target));
        throw FileWriteError(std::string(target), std::move(reason));
    };
    std::vector<char> buffer = PieceBuffer(source);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        std::streamsize got = in.gcount();
        if (got <= 0)
            continue;
        if (!out.write(buffer.data(), got))
            fail("the disk took no more bytes");
        if (eachPiece)
            eachPiece(std::span(reinterpret_cast<const std::uint8_t*>(buffer.data()), static_cast<std::size_t>(got)));
    }
    if (in.bad()) {
        out.close();
        RemoveTemporary(std::string(target));
        throw std::runtime_error("Cannot read " + std::string(source));
    }
    out.close();
    if (!out)
        fail("the disk took no more bytes");
}

namespace {

// Runs sync(i) for every i in [0, count) with several syncs in flight (they
// wait for the disk, not for a core, and the file system commits them
// together). Every sync runs even after one fails; the first failure is
// thrown at the end. With `keepAlive`, the calling thread leaves the syncs to
// helpers and calls it every 40 ms until they are done.
template <typename Sync>
void SyncSeveralAtOnce(std::size_t count, Sync&& sync, const std::function<void()>& keepAlive = {})
{
    constexpr std::size_t kInFlight = 8;
    if (count == 0)
        return;
    std::atomic<std::size_t> next{0};
    std::mutex lock;
    std::condition_variable finished;
    std::size_t done = 0;
    std::optional<FileWriteError> failure;
    auto run = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            std::optional<FileWriteError> failed;
            try {
                sync(i);
            } catch (const FileWriteError& e) {
                failed = e;
            }
            std::lock_guard held(lock);
            if (failed && !failure)
                failure = std::move(failed);
            if (++done == count)
                finished.notify_all();
        }
    };
    {
        const std::size_t helping = std::min(kInFlight, count) - (keepAlive ? 0 : 1);
        std::vector<std::jthread> helpers;
        for (std::size_t t = 0; t < helping; ++t) {
            try {
                helpers.emplace_back(run);
            } catch (const std::system_error&) {
                break;
            }
        }
        if (keepAlive && !helpers.empty()) {
            std::unique_lock held(lock);
            while (!finished.wait_for(held, std::chrono::milliseconds(40), [&] { return done == count; })) {
                held.unlock();
                keepAlive();
                held.lock();
            }
        } else {
            run();
        }
    }
    if (failure)
        throw *failure;
}

// Writes `bytes` in pieces with keepAlive() between them (in one go
// without it).
void WriteAllKeepingAlive(int fd, const std::string& file, std::span<const std::uint8_t> bytes,
                          const std::function<void()>& keepAlive)
{
    constexpr std::size_t kPiece = 4u << 20;
    if (!keepAlive) {
        WriteAll(fd, file, bytes);
        return;
    }
    for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
        WriteAll(fd, file, bytes.subspan(at, std::min(kPiece, bytes.size() - at)));
        keepAlive();
    }
}

} // namespace

void SyncFilesToDisk(const std::vector<std::string>& files, const std::function<void()>& keepAlive)
{
#ifdef __linux__
    // Only a hint to the system; the syncs below decide.
    for (const auto& file : files) {
        int fd = ::open(NativePath(file).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
            ::close(fd);
        }
    }
#endif
    SyncSeveralAtOnce(files.size(), [&](std::size_t i) { SyncFileToDisk(files[i]); }, keepAlive);
}

void SyncFileToDisk(std::string_view file)
{
#ifdef _WIN32
    int fd = ::_wopen(NativePath(file).c_str(), _O_RDWR | _O_BINARY);
    if (fd < 0)
        throw FileWriteError(std::string(file), SystemReason(errno));
    int result = ::_commit(fd);
    int error = errno;
    ::_close(fd);
#else
    int fd = ::open(NativePath(file).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw FileWriteError(std::string(file), SystemReason(errno));
    int result = ::fsync(fd);
    int error = errno;
    ::close(fd);
#endif
    if (result != 0)
        throw FileWriteError(std::string(file), SystemReason(error));
}

void ReplaceFileSafely(std::string_view file, std::span<const std::uint8_t> bytes, LinkTarget link)
{
    SafeFileWriter writer{std::string(file), link};
    writer.write(bytes);
    writer.commit();
}

SafeFileWriter::SafeFileWriter(std::string file, LinkTarget link)
    : file_(std::move(file)), target_(ReplacementTarget(file_, link))
{
    fd_ = OpenTemporary(target_, temporary_);
}

SafeFileWriter::~SafeFileWriter() { discard(); }

void SafeFileWriter::write(std::span<const std::uint8_t> bytes)
{
    if (fd_ < 0)
        throw FileWriteError(file_, "the new content was already written or dropped");
    WriteAll(fd_, file_, bytes);
    written_ += bytes.size();
}

void SafeFileWriter::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    if (fd_ < 0)
        throw FileWriteError(file_, "the new content was already written or dropped");
    if (offset > written_ || bytes.size() > written_ - offset)
        throw FileWriteError(file_, "a write beyond the end of the new content");
    WriteAllAt(fd_, file_, offset, bytes);
}

void SafeFileWriter::resize(std::uint64_t size)
{
    if (fd_ < 0)
        throw FileWriteError(file_, "the new content was already written or dropped");
#ifdef _WIN32
    if (::_chsize_s(fd_, static_cast<__int64>(size)) != 0)
        throw FileWriteError(file_, SystemReason(errno));
#else
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0)
        throw FileWriteError(file_, SystemReason(errno));
#endif
    written_ = size;
}

void SafeFileWriter::copyAt(std::string_view source, std::uint64_t sourceOffset, std::uint64_t length,
                            std::uint64_t offset)
{
    if (fd_ < 0)
        throw FileWriteError(file_, "the new content was already written or dropped");
    if (offset > written_ || length > written_ - offset)
        throw FileWriteError(file_, "a write beyond the end of the new content");
#ifdef __linux__
    const int sourceFd = ::open(NativePath(source).c_str(), O_RDONLY | O_CLOEXEC);
    if (sourceFd < 0)
        throw std::runtime_error("Cannot read " + std::string(source) + ": " + SystemReason(errno));
    auto from = static_cast<off_t>(sourceOffset);
    auto to = static_cast<off_t>(offset);
    std::uint64_t left = length;
    while (left > 0) {
        const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, 1u << 30));
        const ssize_t n = ::copy_file_range(sourceFd, &from, fd_, &to, piece, 0);
        if (n > 0) {
            left -= static_cast<std::uint64_t>(n);
            continue;
        }
        if (n == 0)
            break; // the source ends here
        if (errno == EINTR)
            continue;
        if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)
            break; // not between these files: copied below
        const int error = errno;
        ::close(sourceFd);
        throw FileWriteError(file_, SystemReason(error));
    }
    ::close(sourceFd);
    if (left == 0)
        return;
    const std::uint64_t done = length - left;
    sourceOffset += done;
    offset += done;
    length = left;
#endif
    // Through a buffer: elsewhere, and where the system cannot copy.
    std::ifstream in(NativePath(source), std::ios::binary);
    if (!in || !in.seekg(static_cast<std::streamoff>(sourceOffset)))
        throw std::runtime_error("Cannot read " + std::string(source));
    std::vector<char> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(length, 1u << 20)));
    while (length > 0 && in) {
        in.read(buffer.data(), static_cast<std::streamsize>(std::min<std::uint64_t>(length, buffer.size())));
        const std::streamsize got = in.gcount();
        if (got <= 0)
            break;
        WriteAllAt(fd_, file_, offset,
                   std::span(reinterpret_cast<const std::uint8_t*>(buffer.data()), static_cast<std::size_t>(got)));
        offset += static_cast<std::uint64_t>(got);
        length -= static_cast<std::uint64_t>(got);
    }
    if (in.bad())
        throw std::runtime_error("Cannot read " + std::string(source));
}

void SafeFileWriter::startWritingOut()
{
#ifdef __linux__
    if (fd_ >= 0 && written_ > writingOut_)
        ::sync_file_range(fd_, static_cast<off_t>(writingOut_), static_cast<off_t>(written_ - writingOut_),
                          SYNC_FILE_RANGE_WRITE);
#endif
    writingOut_ = written_;
}

void SafeFileWriter::startWritingOutAll()
{
#ifdef __linux__
    if (fd_ >= 0)
        ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
    writingOut_ = written_;
}

void SafeFileWriter::commit(WriteSync sync)
{
    if (fd_ < 0)
        throw FileWriteError(file_, "the new content was already written or dropped");
    int fd = fd_;
    fd_ = -1;
    try {
        FinishAndRename(fd, temporary_, target_, sync);
    } catch (...) {
        RemoveTemporary(temporary_);
        temporary_.clear();
        throw;
    }
    temporary_.clear();
}

void SafeFileWriter::discard()
{
    if (fd_ >= 0) {
        CloseQuietly(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        RemoveTemporary(temporary_);
        temporary_.clear();
    }
}

StagedFiles::~StagedFiles() { discard(); }

std::size_t StagedFiles::stage(const std::string& file, std::span<const std::uint8_t> bytes)
{
    // Descriptors stay open until synced; past this many the ones open are
    // synced first, so a large change set never runs out of them.
    constexpr std::size_t kMaxOpen = 128;
    const auto open = std::count_if(files_.begin(), files_.end(), [](const File& f) { return f.fd >= 0; });
    if (static_cast<std::size_t>(open) >= kMaxOpen)
        syncOpen();
    RefuseNoPlainFile(file);
    File f;
    f.target = file;
    f.fd = OpenTemporary(file, f.temporary, kStagedFileMark);
    files_.push_back(f);
    WriteAllKeepingAlive(f.fd, file, bytes, keepAlive_);
    // The disk may start on it while the next files are written.
    StartWritingOut(f.fd);
    return files_.size() - 1;
}

void StagedFiles::syncOpen()
{
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < files_.size(); ++i)
        if (files_[i].fd >= 0)
            open.push_back(i);
    SyncSeveralAtOnce(open.size(), [&](std::size_t k) {
        File& f = files_[open[k]];
        const int fd = f.fd;
        f.fd = -1;
        SyncAndClose(fd, f.target, WriteSync::ToDisk);
        f.synced = true;
    }, keepAlive_);
}

void StagedFiles::syncAll() { syncOpen(); }

void StagedFiles::takeName(std::size_t index)
{
    File& f = files_.at(index);
    if (!f.synced || f.temporary.empty())
        throw FileWriteError(f.target, "the new content was not written to the disk");
    RenameOver(f.temporary, f.target);
    f.temporary.clear();
    const std::string directory = DirectoryOf(f.target);
    if (std::find(renamedIn_.begin(), renamedIn_.end(), directory) == renamedIn_.end())
        renamedIn_.push_back(directory);
}

void StagedFiles::syncDirectories()
{
    for (const auto& directory : renamedIn_)
        SyncDirectory(directory);
    renamedIn_.clear();
}

void StagedFiles::discard()
{
    for (File& f : files_) {
        if (f.fd >= 0) {
            CloseQuietly(f.fd);
            f.fd = -1;
        }
        if (!f.temporary.empty()) {
            RemoveTemporary(f.temporary);
            f.temporary.clear();
        }
    }
}

} // namespace pitwall
