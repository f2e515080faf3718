#include "base/ByteReader.h"

#include <bit>
#include <cstring>

namespace pitwall {

void ByteReader::throwShort(std::size_t count) const
{
    throw FormatError("unexpected end of data at offset " + std::to_string(pos_) + " (needed " + std::to_string(count)
                      + " bytes, " + std::to_string(bytes_.size() - pos_) + " left)");
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
