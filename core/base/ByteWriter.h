#pragma once
// Little-endian writes into a growing byte buffer, or patches at a position
// inside it. The counterpart of ByteReader for every game format writer.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace pitwall {

class ByteWriter {
public:
    ByteWriter() = default;
    explicit ByteWriter(std::vector<std::uint8_t> initial) : bytes_(std::move(initial)) {}

    const std::vector<std::uint8_t>& data() const { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }
    std::size_t size() const { return bytes_.size(); }
    std::size_t position() const { return pos_; }

    // Moves the write position; the buffer grows with zero bytes when the
    // position lies beyond its end.
    void seek(std::size_t offset);
    // Room for `count` bytes in all, so that writing up to there never moves
    // the buffer.
    void reserve(std::size_t count) { bytes_.reserve(count); }

    void u8(std::uint8_t v) { put(v); }
    void u16(std::uint16_t v)
    {
        put(static_cast<std::uint8_t>(v));
        put(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v);
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f64(double v);
    void bytes(std::span<const std::uint8_t> data);
    void zeros(std::size_t count);
    // A fixed-width single-byte text field: the first `width` characters,
    // zero-padded; no terminator when the text fills the field.
    void fixedString(std::string_view text, std::size_t width);

private:
    void put(std::uint8_t b)
    {
        if (pos_ == bytes_.size())
            bytes_.push_back(b);
        else
            bytes_[pos_] = b;
        ++pos_;
    }

    std::vector<std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

} // namespace pitwall
