// Header.DAT of a carset: anything but 360 bytes is no header; a header read
// is written back byte for byte except that item bytes become 0 or 1 and the
// reserved tail zeros.

#include "transfer/CarsetHeader.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto header = ParseCarsetHeader(std::span<const std::uint8_t>(data, size));
    if (!header) {
        if (size == kHeaderSize)
            std::abort();
        return 0;
    }
    auto image = CarsetHeaderImage(*header);
    auto back = ParseCarsetHeader(image);
    if (image.size() != kHeaderSize || !back || back->format != header->format || back->items != header->items)
        std::abort();
    return 0;
}
