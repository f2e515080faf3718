#pragma once
// TMemFile: a small in-memory file with a read/write position and a logical
// length, filled by sequential writes and then written to disk in one piece.
// The JAM writer assembles a whole JAM in one, scrambles it in place and
// saves it.
//
// The buffer grows as writes need it, so a large input can never run past
// it; every read is checked against what has been written.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pitwall {

class TMemFile {
public:
    TMemFile() = default;

    bool Eof() const { return position_ >= length_; }
    std::uint32_t Length() const { return length_; }
    std::uint32_t Position() const { return position_; }

    // Copies destination.size() bytes from the position; with advance the
    // position moves past them. Throws std::out_of_range for bytes that were
    // never written or skipped over.
    void Read(std::span<std::uint8_t> destination, bool advance);
    // Copies the bytes to the position; with advance the position moves past
    // them and the length becomes at least the new position. Without advance
    // the bytes are overwritten in place and the length stays.
    void Write(std::span<const std::uint8_t> source, bool advance);
    // Length unchanged; bytes skipped over by a later write read as 0.
    void Seek(std::uint32_t position) { position_ = position; }

    // The content, the first Length() bytes (for changes in place such as
    // scrambling).
    std::span<std::uint8_t> Content();
    std::span<const std::uint8_t> Content() const;

    // Writes the first `count` bytes into the file at `offset`, creating the
    // file when it does not exist and keeping its other bytes when it does
    // (a patch). Throws std::runtime_error on a file error and
    // std::out_of_range when count exceeds what the buffer holds.
    void WriteToFile(const std::string& fileName, std::uint64_t offset, std::uint32_t count) const;
    // Replaces the file's whole content with the Length() bytes, so a
    // shorter file written over a longer one leaves no stale tail behind.
    void SaveToFile(const std::string& fileName) const;

private:
    std::vector<std::uint8_t> buffer_;
    std::uint32_t position_ = 0;
    std::uint32_t length_ = 0;
};

} // namespace pitwall
