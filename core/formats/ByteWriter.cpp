#include "formats/ByteWriter.h"

#include <bit>

namespace pitwall {

void ByteWriter::seek(std::size_t offset)
{
    if (offset > bytes_.size())
        bytes_.resize(offset, 0);
    pos_ = offset;
}

void ByteWriter::put(std::uint8_t b)
{
    if (pos_ == bytes_.size())
        bytes_.push_back(b);
    else
        bytes_[pos_] = b;
    ++pos_;
}

void ByteWriter::u8(std::uint8_t v) { put(v); }

void ByteWriter::u16(std::uint16_t v)
{
    put(static_cast<std::uint8_t>(v));
    put(static_cast<std::uint8_t>(v >> 8));
}

void ByteWriter::u32(std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        put(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ByteWriter::f64(double v)
{
    auto bits = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i)
        put(static_cast<std::uint8_t>(bits >> (8 * i)));
}

void ByteWriter::bytes(std::span<const std::uint8_t> data)
{
    for (auto b : data)
        put(b);
}

void ByteWriter::zeros(std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        put(0);
}

void ByteWriter::fixedString(std::string_view text, std::size_t width)
{
    for (std::size_t i = 0; i < width; ++i)
        put(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
}

} // namespace pitwall
