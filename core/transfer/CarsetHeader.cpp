#include "transfer/CarsetHeader.h"

#include "base/ByteReader.h"
#include "base/ByteWriter.h"

namespace pitwall {

std::vector<std::uint8_t> CarsetHeaderImage(const CarsetHeader& header)
{
    ByteWriter w;
    w.u32(header.format);
    w.bytes(header.items);
    w.zeros(kHeaderSize - 4 - kItemCount);
    return w.take();
}

std::optional<CarsetHeader> ParseCarsetHeader(std::span<const std::uint8_t> bytes)
{
    // Other tools may write a few bytes more; what follows the record is not read.
    if (bytes.size() < kHeaderSize)
        return std::nullopt;
    ByteReader r(bytes);
    CarsetHeader h;
    h.format = r.u32();
    auto items = r.bytes(kItemCount);
    for (std::size_t i = 0; i < kItemCount; ++i)
        h.items[i] = items[i] != 0 ? 1 : 0;
    return h;
}

} // namespace pitwall
