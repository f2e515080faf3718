#include "base/FileStamp.h"

#include "base/FileUtils.h"

#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace pitwall {

FileStamp StampOf(std::string_view file)
{
    FileStamp stamp;
#ifdef _WIN32
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path path = NativePath(file);
    const auto size = fs::file_size(path, ec);
    if (ec)
        return stamp;
    const auto time = fs::last_write_time(path, ec);
    if (ec)
        return stamp;
    stamp.exists = true;
    stamp.size = size;
    stamp.modified = static_cast<std::int64_t>(time.time_since_epoch().count());
#else
    struct stat st {};
    if (::stat(NativePath(file).c_str(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    stamp.changed = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.number = static_cast<std::uint64_t>(st.st_ino);
#endif
    return stamp;
}

} // namespace pitwall
