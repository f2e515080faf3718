// Track file information block: any bytes give at most the 16 values.

#include "formats/TrackFile.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TrackInfoBlock block = ParseTrackInfo(std::span<const std::uint8_t>(data, size));
    std::size_t total = 0;
    for (const auto& v : block.values)
        total += v.size();
    if (total > size || (!block.found && total > 0))
        std::abort();
    return 0;
}
