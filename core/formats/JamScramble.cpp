#include "formats/JamScramble.h"

#include "base/FileUtils.h"

namespace pitwall {

void JamKeyStream::apply(std::span<std::uint8_t> bytes)
{
    const std::size_t words = bytes.size() / 4;
    for (std::size_t w = 0; w < words; ++w) {
        for (std::size_t k = 0; k < 4; ++k)
            bytes[w * 4 + k] ^= static_cast<std::uint8_t>(key_ >> (8 * k));
        key_ *= 5;
    }
}

void ScrambleBytes(std::span<std::uint8_t> bytes)
{
    JamKeyStream stream;
    stream.apply(bytes);
}

void ScrambleFile(const std::string& source, const std::string& target)
{
    auto bytes = ReadWholeFile(source, 256u * 1024 * 1024);
    bytes.resize(bytes.size() / 4 * 4);
    ScrambleBytes(bytes);
    WriteWholeFile(target, bytes);
}

} // namespace pitwall
