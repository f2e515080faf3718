#pragma once
// A file of the fuzzer process's own in the temporary directory, for the
// readers that take a path: each input is written into it before the call.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace pitwall::fuzz {

inline std::string TempFileName(const std::string& suffix)
{
    return (std::filesystem::temp_directory_path()
            / ("pitwall-fuzz-" + std::to_string(getpid()) + "-" + suffix))
        .string();
}

inline void WriteTempFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out)
        std::abort();
}

} // namespace pitwall::fuzz
