#include "transfer/WorkingFolders.h"

#include "base/DirectoryHandle.h"

#include <cerrno>
#include <chrono>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <unistd.h>
#endif

namespace pitwall {

namespace {

constexpr const char* kOwnerFile = "pitwall-process";
constexpr std::size_t kRandomPart = 6;
constexpr std::int64_t kUnmarkedStaleAfter = 24 * 60 * 60;

long ThisProcess()
{
#ifdef _WIN32
    return static_cast<long>(::GetCurrentProcessId());
#else
    return static_cast<long>(::getpid());
#endif
}

bool ProcessIsGone(long pid)
{
    if (pid <= 0)
        return false;
#ifdef _WIN32
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!process)
        return ::GetLastError() == ERROR_INVALID_PARAMETER;
    const bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
#else
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
#endif
}

} // namespace

void MarkWorkingFolder(const std::string& folder)
{
    DirectoryHandle::openOwned(folder, false).writeNewFile(kOwnerFile, std::to_string(ThisProcess()) + "\n");
}

std::vector<std::string> RemoveAbandonedWorkingFolders(const std::string& parent, const std::string& prefix)
{
    std::vector<std::string> removed;
    std::optional<DirectoryHandle> directory;
    try {
        directory.emplace(DirectoryHandle::openAny(parent));
    } catch (const PrivateDirectoryError&) {
        return removed;
    }
    const std::int64_t now =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    for (const auto& name : directory->names()) {
        if (name.size() != prefix.size() + kRandomPart || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        DirectoryEntry e = directory->entry(name);
        if (!e.isDirectory || !e.ownedByUser)
            continue;
        std::optional<DirectoryHandle> folder = directory->anyChild(name);
        if (!folder)
            continue;
        std::optional<std::string> mark = folder->readSmallFile(kOwnerFile, 32);
        bool abandoned = false;
        if (mark) {
            try {
                abandoned = ProcessIsGone(std::stol(*mark));
            } catch (const std::exception&) {}
        } else {
            abandoned = now - e.modifiedSeconds > kUnmarkedStaleAfter;
        }
        if (abandoned && directory->remove(name))
            removed.push_back(directory->path() + name);
    }
    return removed;
}

} // namespace pitwall
