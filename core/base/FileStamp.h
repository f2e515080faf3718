#pragma once
// Whether a file was written since it was last looked at, told without
// reading it: its size and times and, where the system numbers its files,
// that number (a file replaced through a rename is another file, even when
// size and time happen to agree).

#include <cstdint>
#include <string_view>

namespace pitwall {

struct FileStamp {
    bool exists = false;
    bool regular = false; // a plain file, not a folder or a device
    std::uint64_t size = 0;
    std::int64_t modified = 0; // in the system's own units
    std::int64_t changed = 0;  // status change time where the system has one
    std::uint64_t device = 0;
    std::uint64_t number = 0;

    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(std::string_view file);

} // namespace pitwall
