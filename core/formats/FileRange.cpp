#include "formats/FileRange.h"

#include "transfer/FileUtils.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace pitwall {

std::vector<std::uint8_t> ReadFileRange(std::string_view file, std::uint64_t offset, std::uint64_t count)
{
    std::ifstream in(NativePath(file), std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot read " + std::string(file));
    std::uint64_t size = FileSizeOf(file);
    if (offset >= size)
        return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(count, size - offset)));
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

} // namespace pitwall
