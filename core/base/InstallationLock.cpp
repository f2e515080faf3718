#include "base/InstallationLock.h"

#include "base/FileUtils.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <sstream>
#include <thread>

#ifdef _WIN32
#include <fstream>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pitwall {

namespace {

constexpr std::size_t kMaxHolderText = 4 * 1024;
constexpr auto kRetryEvery = std::chrono::milliseconds(100);

long ProcessId()
{
#ifdef _WIN32
    return static_cast<long>(::GetCurrentProcessId());
#else
    return static_cast<long>(::getpid());
#endif
}

std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

std::string UtcTime(std::int64_t nanoseconds)
{
    std::time_t seconds = static_cast<std::time_t>(nanoseconds / 1'000'000'000);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &seconds);
#else
    gmtime_r(&seconds, &utc);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
    return text;
}

struct Holder {
    std::string program, operation, since;
    long pid = 0;
    std::int64_t run = 0;
};

std::string HolderText(const std::string& operation, const WriterInfo& writer)
{
    std::ostringstream text;
    text << "program=" << OneLine(writer.program) << '\n'
         << "pid=" << ProcessId() << '\n'
         << "operation=" << OneLine(operation) << '\n'
         << "since=" << UtcTime(NanosecondsNow()) << '\n'
         << "run=" << writer.runStarted << '\n';
    return text.str();
}

Holder ParseHolder(const std::string& text)
{
    Holder holder;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        try {
            if (key == "program")
                holder.program = value;
            else if (key == "operation")
                holder.operation = value;
            else if (key == "since")
                holder.since = value;
            else if (key == "pid")
                holder.pid = std::stol(value);
            else if (key == "run")
                holder.run = std::stoll(value);
        } catch (const std::exception&) {}
    }
    return holder;
}

std::string BusyMessage(const std::string& gameDirectory, const Holder& holder, std::chrono::milliseconds wait)
{
    std::string who = holder.pid > 0 ? (holder.program.empty() ? std::string("another program") : holder.program)
            + " (process " + std::to_string(holder.pid) + (holder.operation.empty() ? "" : ", " + holder.operation)
            + (holder.since.empty() ? "" : ", since " + holder.since) + ")"
                                     : std::string("another process");
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait).count();
    return "Another run is writing into " + gameDirectory + ": " + who + "; waited " + std::to_string(seconds)
        + (seconds == 1 ? " second" : " seconds") + " for it to finish, so nothing was changed";
}

} // namespace

std::int64_t NanosecondsNow()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

#ifndef _WIN32

namespace {

// The holder's lines, when they belong to a writer that still holds them: a
// writer keeps its file locked while it holds the installation, so lines no
// process holds are a finished run's.
Holder CurrentHolder(const DirectoryHandle& lockDirectory, const std::string& name, int holderFd)
{
    if (::flock(holderFd, LOCK_SH | LOCK_NB) == 0) {
        ::flock(holderFd, LOCK_UN);
        return {};
    }
    return ParseHolder(lockDirectory.readSmallFile(name, kMaxHolderText).value_or(""));
}

} // namespace

InstallationLock::InstallationLock(const DirectoryHandle& lockDirectory, const std::string& key,
                                   const std::string& gameDirectory, const std::string& operation,
                                   const WriterInfo& writer)
{
    const std::string name = key + ".lock";
    const std::string path = lockDirectory.path() + name;
    // The installation itself is what all writers lock, each through a
    // descriptor of its own (the lock belongs to the open directory, so a
    // second hold in this process is refused like another process's).
    const std::string game = ExcludeTrailingBackslash(gameDirectory);
    gameFd_ = ::open(game.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (gameFd_ < 0)
        throw PrivateDirectoryError("Cannot open the installation " + game + ": " + std::strerror(errno));
    auto giveUp = [this] {
        if (fd_ >= 0)
            ::close(fd_);
        ::close(gameFd_);
        fd_ = gameFd_ = -1;
    };
    fd_ = ::openat(lockDirectory.descriptor(), name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        const int error = errno;
        giveUp();
        throw PrivateDirectoryError("Cannot open the lock file " + path + ": " + std::strerror(error));
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        giveUp();
        throw PrivateDirectoryError("The lock file " + path + " is not a file of this user's");
    }
    const auto deadline = std::chrono::steady_clock::now() + writer.wait;
    while (::flock(gameFd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error != EWOULDBLOCK) {
            giveUp();
            throw PrivateDirectoryError("Cannot lock " + game + ": " + std::strerror(error));
        }
        const Holder holder = CurrentHolder(lockDirectory, name, fd_);
        if (holder.pid == ProcessId() && writer.runStarted != 0 && holder.run == writer.runStarted) {
            // This run holds it already, further out.
            giveUp();
            nested_ = true;
            runStarted_ = holder.run;
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            giveUp();
            throw InstallationBusyError(BusyMessage(gameDirectory, holder, writer.wait));
        }
        std::this_thread::sleep_for(kRetryEvery);
    }
    runStarted_ = writer.runStarted;
    // The holder's file is held with the installation, so that a waiting
    // writer knows its lines for current; a waiting writer looking at it
    // holds it for a moment only.
    bool holdsFile = false;
    for (int attempt = 0; attempt < 50 && !holdsFile; ++attempt) {
        holdsFile = ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
        if (!holdsFile)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (!holdsFile) {
        // Only the message to a second writer lacks the details.
        ::close(fd_);
        fd_ = -1;
        return;
    }
    const std::string text = HolderText(operation, writer);
    // Written over the old holder's lines, then cut to length: a reader sees
    // the holder's lines whole or an old one's.
    if (::pwrite(fd_, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())
        || ::ftruncate(fd_, static_cast<off_t>(text.size())) != 0) {
        // Only the message to a second writer suffers; the lock is held.
    }
}

InstallationLock::InstallationLock(InstallationLock&& other) noexcept
    : fd_(other.fd_), gameFd_(other.gameFd_), nested_(other.nested_), runStarted_(other.runStarted_)
{
    other.fd_ = other.gameFd_ = -1;
}

InstallationLock::~InstallationLock()
{
    if (fd_ >= 0) {
        // The holder's lines go before the lock does.
        if (::ftruncate(fd_, 0) != 0) {}
        ::close(fd_);
    }
    if (gameFd_ >= 0)
        ::close(gameFd_);
}

#else

InstallationLock::InstallationLock(const DirectoryHandle& lockDirectory, const std::string& key,
                                   const std::string& gameDirectory, const std::string& operation,
                                   const WriterInfo& writer)
{
    const std::string path = lockDirectory.path() + key + ".lock";
    HANDLE file =
        ::CreateFileW(NativePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw PrivateDirectoryError("Cannot open the lock file " + path);
    // The lock covers a byte far beyond the holder's lines, so they stay
    // readable while it is held.
    const auto deadline = std::chrono::steady_clock::now() + writer.wait;
    while (true) {
        OVERLAPPED at{};
        at.Offset = 0x7FFFFFFF;
        if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
            break;
        Holder holder = ParseHolder(lockDirectory.readSmallFile(key + ".lock", kMaxHolderText).value_or(""));
        if (holder.pid == ProcessId() && writer.runStarted != 0 && holder.run == writer.runStarted) {
            ::CloseHandle(file);
            nested_ = true;
            runStarted_ = holder.run;
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::CloseHandle(file);
            throw InstallationBusyError(BusyMessage(gameDirectory, holder, writer.wait));
        }
        std::this_thread::sleep_for(kRetryEvery);
    }
    handle_ = file;
    runStarted_ = writer.runStarted;
    const std::string text = HolderText(operation, writer);
    DWORD written = 0;
    ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::SetEndOfFile(file);
}

InstallationLock::InstallationLock(InstallationLock&& other) noexcept
    : handle_(other.handle_), nested_(other.nested_), runStarted_(other.runStarted_)
{
    other.handle_ = nullptr;
}

InstallationLock::~InstallationLock()
{
    if (handle_)
        ::CloseHandle(static_cast<HANDLE>(handle_));
}

#endif

} // namespace pitwall
