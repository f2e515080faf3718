#pragma once
// Reading part of a large game file (the art bank, a track file) without
// reading all of it.

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

// Up to `count` bytes from `offset`; fewer (possibly none) when the file ends
// earlier. Throws std::runtime_error when the file cannot be opened.
std::vector<std::uint8_t> ReadFileRange(std::string_view file, std::uint64_t offset, std::uint64_t count);

// The same for many ranges of one file, opened once. One reader per thread.
class FileRangeReader {
public:
    // Throws std::runtime_error when the file cannot be opened.
    explicit FileRangeReader(std::string_view file);

    std::uint64_t fileSize() const { return size_; }
    // Fills `bytes` with up to `count` bytes from `offset` (fewer when the
    // file ends earlier), reusing its storage.
    void read(std::uint64_t offset, std::uint64_t count, std::vector<std::uint8_t>& bytes);

private:
    std::string file_;
    std::ifstream in_;
    std::uint64_t size_ = 0;
};

} // namespace pitwall
