#include "base/FileStamp.h"

#include "base/FileUtils.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace pitwall {

FileStamp StampOf(std::string_view file)
{
    FileStamp stamp;
#ifdef _WIN32
    // The file's index and volume stand in for the inode: a file replaced
    // through a rename is another file even within one tick of the clock.
    const HANDLE handle = CreateFileW(NativePath(file).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return stamp;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool read = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (!read)
        return stamp;
    auto join = [](DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; };
    stamp.exists = true;
    stamp.regular = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    stamp.size = join(info.nFileSizeHigh, info.nFileSizeLow);
    stamp.modified =
        static_cast<std::int64_t>(join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime));
    stamp.device = info.dwVolumeSerialNumber;
    stamp.number = join(info.nFileIndexHigh, info.nFileIndexLow);
#else
    struct stat st {};
    if (::stat(NativePath(file).c_str(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.regular = S_ISREG(st.st_mode);
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    stamp.changed = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.number = static_cast<std::uint64_t>(st.st_ino);
#endif
    return stamp;
}

} // namespace pitwall
