// Game text files: any bytes give strings; written back and read again they
// give the same strings (each cut to 2048 characters).

#include "formats/StringFile.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto strings = ParseStringFile(std::span<const std::uint8_t>(data, size));
    for (auto& s : strings) {
        if (s.find('\0') != std::string::npos)
            std::abort();
        if (s.size() > kMaxStringLength)
            s.resize(kMaxStringLength);
    }
    if (ParseStringFile(BuildStringFile(strings)) != strings)
        std::abort();
    return 0;
}
