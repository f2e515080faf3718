#include "base/ByteWriter.h"

#include <algorithm>
#include <bit>

namespace pitwall {

void ByteWriter::seek(std::size_t offset)
{
    if (offset > bytes_.size())
        bytes_.resize(offset, 0);
    pos_ = offset;
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
    // After a seek back the first part overwrites bytes already there; the
    // rest extends the buffer in one step.
    std::size_t overlap = std::min(data.size(), bytes_.size() - pos_);
    std::copy_n(data.begin(), overlap, bytes_.begin() + static_cast<std::ptrdiff_t>(pos_));
    bytes_.insert(bytes_.end(), data.begin() + static_cast<std::ptrdiff_t>(overlap), data.end());
    pos_ += data.size();
}

void ByteWriter::zeros(std::size_t count)
{
    std::size_t overlap = std::min(count, bytes_.size() - pos_);
    std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_), overlap, std::uint8_t{0});
    bytes_.resize(bytes_.size() + (count - overlap), 0);
    pos_ += count;
}

void ByteWriter::fixedString(std::string_view text, std::size_t width)
{
    for (std::size_t i = 0; i < width; ++i)
        put(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
}

} // namespace pitwall
