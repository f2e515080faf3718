#include "formats/ByteReader.h"

#include <bit>
#include <cstring>

namespace pitwall {

void ByteReader::require(std::size_t count) const
{
    if (count > bytes_.size() - pos_)
        throw FormatError("unexpected end of data at offset " + std::to_string(pos_) + " (needed "
                          + std::to_string(count) + " bytes, " + std::to_string(bytes_.size() - pos_)
                          + " left)");
}

void ByteReader::seek(std::size_t offset)
{
    if (offset > bytes_.size())
        throw FormatError("offset " + std::to_string(offset) + " lies beyond the end of the data ("
                          + std::to_string(bytes_.size()) + " bytes)");
    pos_ = offset;
}

void ByteReader::skip(std::size_t count)
{
    require(count);
    pos_ += count;
}

std::uint8_t ByteReader::u8()
{
    require(1);
    return bytes_[pos_++];
}

std::uint16_t ByteReader::u16()
{
    require(2);
    std::uint16_t v = static_cast<std::uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
}

std::uint32_t ByteReader::u32()
{
    require(4);
    std::uint32_t v = static_cast<std::uint32_t>(bytes_[pos_]) | (static_cast<std::uint32_t>(bytes_[pos_ + 1]) << 8)
        | (static_cast<std::uint32_t>(bytes_[pos_ + 2]) << 16) | (static_cast<std::uint32_t>(bytes_[pos_ + 3]) << 24);
    pos_ += 4;
    return v;
}

double ByteReader::f64()
{
    require(8);
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | bytes_[pos_ + static_cast<std::size_t>(i)];
    pos_ += 8;
    return std::bit_cast<double>(v);
}

std::span<const std::uint8_t> ByteReader::bytes(std::size_t count)
{
    require(count);
    auto s = bytes_.subspan(pos_, count);
    pos_ += count;
    return s;
}

std::string ByteReader::fixedString(std::size_t width)
{
    auto field = bytes(width);
    std::size_t len = 0;
    while (len < width && field[len] != 0)
        ++len;
    return std::string(reinterpret_cast<const char*>(field.data()), len);
}

} // namespace pitwall
