#pragma once
// Little-endian, bounds-checked reads over a block of file bytes. Every game
// format reads through this: a read past the end throws FormatError instead of
// returning garbage, so a truncated or hostile file never reads out of bounds.

#include "base/FormatError.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace pitwall {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }

    void seek(std::size_t offset);
    void skip(std::size_t count);

    // The small reads are inline: pictures and tracks are decoded word by word.
    std::uint8_t u8()
    {
        require(1);
        return bytes_[pos_++];
    }
    std::uint16_t u16()
    {
        require(2);
        auto v = static_cast<std::uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    std::uint32_t u32()
    {
        require(4);
        std::uint32_t v = static_cast<std::uint32_t>(bytes_[pos_]) | (static_cast<std::uint32_t>(bytes_[pos_ + 1]) << 8)
            | (static_cast<std::uint32_t>(bytes_[pos_ + 2]) << 16)
            | (static_cast<std::uint32_t>(bytes_[pos_ + 3]) << 24);
        pos_ += 4;
        return v;
    }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    double f64();

    // `count` raw bytes.
    std::span<const std::uint8_t> bytes(std::size_t count);
    // A fixed-width single-byte text field: characters up to the first zero
    // byte or the whole field when it holds no zero.
    std::string fixedString(std::size_t width);

private:
    void require(std::size_t count) const
    {
        if (count > bytes_.size() - pos_)
            throwShort(count);
    }
    [[noreturn]] void throwShort(std::size_t count) const;

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

} // namespace pitwall
