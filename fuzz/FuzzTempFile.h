#pragma once
// A file of the fuzzer process's own in the temporary directory, for the
// readers that take a path: each input is written into it before the call.
// Held in a static; the file goes when the fuzzer ends.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace pitwall::fuzz {

class TempFile {
public:
    explicit TempFile(const std::string& suffix)
        : path_((std::filesystem::temp_directory_path() / ("pitwall-fuzz-" + std::to_string(getpid()) + "-" + suffix))
                    .string())
    {}
    ~TempFile()
    {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }
    void write(const std::uint8_t* data, std::size_t size) const
    {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out)
            std::abort();
    }
    void remove() const
    {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }

private:
    std::string path_;
};

} // namespace pitwall::fuzz
