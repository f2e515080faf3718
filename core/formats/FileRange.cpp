#include "formats/FileRange.h"

#include "base/FileUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace pitwall {

namespace {

// "Cannot read FILE: reason", with the system's reason when it gave one.
std::runtime_error ReadError(const std::string& file, int error)
{
    return std::runtime_error("Cannot read " + file + (error != 0 ? std::string(": ") + std::strerror(error) : ""));
}

} // namespace

std::vector<std::uint8_t> ReadFileRange(std::string_view file, std::uint64_t offset, std::uint64_t count)
{
    std::vector<std::uint8_t> bytes;
    FileRangeReader(file).read(offset, count, bytes);
    return bytes;
}

FileRangeReader::FileRangeReader(std::string_view file) : file_(file)
{
    errno = 0;
    in_.open(NativePath(file), std::ios::binary);
    if (!in_)
        throw ReadError(file_, errno);
    size_ = FileSizeOf(file);
}

void FileRangeReader::read(std::uint64_t offset, std::uint64_t count, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    if (offset >= size_)
        return;
    bytes.resize(static_cast<std::size_t>(std::min(count, size_ - offset)));
    in_.clear();
    errno = 0;
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in_.gcount(), 0)));
    if (in_.bad())
        throw ReadError(file_, errno);
}

} // namespace pitwall
