#pragma once
// One of the two game files that import and export patch in place (GP3.EXE,
// F1GSTATE.SAV), opened once per transfer. Reads and writes are positioned
// and bounds-checked: reading or writing past the end of the file is an
// error, never garbage, and a game file never grows.

#include <cstdint>
#include <fstream>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace pitwall {

class GameFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class GameFile {
public:
    // Opens an existing file for reading and writing (clearing its read-only
    // attribute first). Throws GameFileError when it cannot be opened.
    explicit GameFile(std::string path);

    const std::string& path() const { return path_; }
    std::uint64_t size() const { return size_; }

    void read(std::uint64_t offset, std::span<std::uint8_t> out);
    std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t count);
    void write(std::uint64_t offset, std::span<const std::uint8_t> bytes);

    std::uint8_t readU8(std::uint64_t offset);
    std::uint16_t readU16(std::uint64_t offset);
    std::uint32_t readU32(std::uint64_t offset);
    void writeU8(std::uint64_t offset, std::uint8_t value);
    void writeU16(std::uint64_t offset, std::uint16_t value);
    void writeU32(std::uint64_t offset, std::uint32_t value);

    // Flushes and closes; further use throws. Throws when the flush fails.
    void close();

private:
    void require(std::uint64_t offset, std::uint64_t count, const char* what) const;

    std::string path_;
    std::fstream file_;
    std::uint64_t size_ = 0;
};

} // namespace pitwall
