// Track file JAM list: any bytes give names of at most 100 bytes without a 0.

#include "formats/TrackFile.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto names = ParseJamList(std::span<const std::uint8_t>(data, size));
    if (names.size() > 65535)
        std::abort();
    for (const auto& n : names)
        if (n.size() > kMaxJamNameBytes || n.find('\0') != std::string::npos)
            std::abort();
    return 0;
}
