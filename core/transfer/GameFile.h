#pragma once
// A game file that a run reads and patches at fixed positions (GP3.EXE,
// F1GSTATE.SAV). The file is read into memory once; reads and writes are
// positioned and bounds-checked (past the end is an error, never garbage,
// and a game file never grows). Writes change only the copy in memory, each
// one remembered with the selection item it belongs to, so that a run can
// show what it would change and write the file back safely as a whole.

#include <cstdint>
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
    // One positioned write: which item wrote which bytes.
    struct Write {
        int item = 0;
        std::uint64_t offset = 0;
        std::uint64_t length = 0;
    };

    // Reads the file (opened for reading only: its attributes stay as they
    // are). Throws GameFileError when it is missing, unreadable or larger
    // than any game file.
    explicit GameFile(std::string path);

    const std::string& path() const { return path_; }
    std::uint64_t size() const { return bytes_.size(); }

    void read(std::uint64_t offset, std::span<std::uint8_t> out) const;
    std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t count) const;
    void write(std::uint64_t offset, std::span<const std::uint8_t> bytes);

    std::uint8_t readU8(std::uint64_t offset) const;
    std::uint16_t readU16(std::uint64_t offset) const;
    std::uint32_t readU32(std::uint64_t offset) const;
    void writeU8(std::uint64_t offset, std::uint8_t value);
    void writeU16(std::uint64_t offset, std::uint16_t value);
    void writeU32(std::uint64_t offset, std::uint32_t value);

    // The item that following writes belong to (0: none in particular).
    void setItem(int item) { item_ = item; }
    const std::vector<Write>& writes() const { return writes_; }
    // The content as read, and as it is now.
    const std::vector<std::uint8_t>& original() const { return original_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::span<std::uint8_t> mutableBytes() { return bytes_; }
    bool changed() const { return bytes_ != original_; }

    // Writes the content back when it differs from what was read, replacing
    // the file as a whole (the old file stays intact if that fails). Runs
    // that guard their writes with a restore point commit through
    // GameChangeSet instead.
    void close();

private:
    void require(std::uint64_t offset, std::uint64_t count, const char* what) const;

    std::string path_;
    std::vector<std::uint8_t> original_;
    std::vector<std::uint8_t> bytes_;
    std::vector<Write> writes_;
    int item_ = 0;
};

} // namespace pitwall
