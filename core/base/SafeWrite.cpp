#include "base/SafeWrite.h"

#include "base/FileUtils.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
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
std::string TemporaryNameFor(const std::string& file)
{
    std::random_device device;
    std::uniform_int_distribution<unsigned long long> pick;
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", pick(device));
    return DirectoryOf(file) + "." + FileNameOf(file) + ".pitwall-" + suffix;
}

#ifndef _WIN32

int OpenTemporary(const std::string& file, std::string& temporary)
{
    // The target's permissions, made writable for its owner; a new file gets
    // what the user's umask gives.
    mode_t mode = 0666;
    struct stat st;
    bool existing = ::stat(NativePath(file).c_str(), &st) == 0;
    if (existing)
        mode = (st.st_mode & 07777) | S_IWUSR;
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = TemporaryNameFor(file);
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

void SyncDirectoryOf(const std::string& file)
{
    std::string directory = DirectoryOf(file);
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

void FinishAndRename(int fd, const std::string& temporary, const std::string& file, WriteSync sync)
{
    if (sync == WriteSync::ToDisk && ::fsync(fd) != 0) {
        int error = errno;
        ::close(fd);
        throw FileWriteError(file, SystemReason(error));
    }
    if (::close(fd) != 0)
        throw FileWriteError(file, SystemReason(errno));
    if (::rename(NativePath(temporary).c_str(), NativePath(file).c_str()) != 0)
        throw FileWriteError(file, SystemReason(errno));
    if (sync == WriteSync::ToDisk)
        SyncDirectoryOf(file);
}

#else

int OpenTemporary(const std::string& file, std::string& temporary)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = TemporaryNameFor(file);
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

void FinishAndRename(int fd, const std::string& temporary, const std::string& file, WriteSync sync)
{
    if (sync == WriteSync::ToDisk && ::_commit(fd) != 0) {
        int error = errno;
        ::_close(fd);
        throw FileWriteError(file, SystemReason(error));
    }
    ::_close(fd);
    ClearReadOnly(file);
    if (!::MoveFileExW(NativePath(temporary).c_str(), NativePath(file).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw FileWriteError(file, "the file could not be replaced (error " + std::to_string(::GetLastError()) + ")");
}

#endif

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
    std::ifstream in(NativePath(source), std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot read " + std::string(source));
    SafeFileWriter out{std::string(target)};
    std::vector<char> buffer(1 << 20);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        std::streamsize got = in.gcount();
        if (got > 0) {
            const auto piece =
                std::span(reinterpret_cast<const std::uint8_t*>(buffer.data()), static_cast<std::size_t>(got));
            out.write(piece);
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
    std::ifstream in(NativePath(source), std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot read " + std::string(source));
    std::ofstream out(NativePath(target), std::ios::binary | std::ios::trunc);
    if (!out)
        throw FileWriteError(std::string(target), "it could not be created");
    auto fail = [&](std::string reason) {
        out.close();
        RemoveTemporary(std::string(target));
        throw FileWriteError(std::string(target), std::move(reason));
    };
    std::vector<char> buffer(1 << 20);
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

void SyncFilesToDisk(const std::vector<std::string>& files)
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
    for (const auto& file : files)
        SyncFileToDisk(file);
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

void ReplaceFileSafely(std::string_view file, std::span<const std::uint8_t> bytes)
{
    SafeFileWriter writer{std::string(file)};
    writer.write(bytes);
    writer.commit();
}

SafeFileWriter::SafeFileWriter(std::string file) : file_(std::move(file)) { fd_ = OpenTemporary(file_, temporary_); }

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

void SafeFileWriter::startWritingOut()
{
#ifdef __linux__
    if (fd_ >= 0 && written_ > writingOut_)
        ::sync_file_range(fd_, static_cast<off_t>(writingOut_), static_cast<off_t>(written_ - writingOut_),
                          SYNC_FILE_RANGE_WRITE);
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
        FinishAndRename(fd, temporary_, file_, sync);
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

} // namespace pitwall
