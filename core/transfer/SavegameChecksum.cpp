#include "transfer/SavegameChecksum.h"

#include "base/FileUtils.h"

#include <stdexcept>
#include <string>

namespace pitwall {

std::uint32_t ComputeSavegameChecksum(std::span<const std::uint8_t> file)
{
    if (file.empty())
        return 0;
    std::uint16_t sum = file[0];
    std::uint16_t rot = file[0];
    // Offsets 1 .. size - 5: everything before the stored checksum.
    for (std::size_t p = 1; p + 4 < file.size(); ++p) {
        std::uint8_t b = file[p];
        sum = static_cast<std::uint16_t>(sum + b);
        rot = static_cast<std::uint16_t>(static_cast<std::uint16_t>((rot << 3) | (rot >> 13)) + b);
    }
    return (static_cast<std::uint32_t>(rot) << 16) | sum;
}

std::uint32_t StoredSavegameChecksum(std::span<const std::uint8_t> file)
{
    if (file.size() < 4)
        return 0;
    std::size_t at = file.size() - 4;
    return static_cast<std::uint32_t>(file[at]) | (static_cast<std::uint32_t>(file[at + 1]) << 8)
        | (static_cast<std::uint32_t>(file[at + 2]) << 16) | (static_cast<std::uint32_t>(file[at + 3]) << 24);
}

void WriteSavegameChecksum(std::span<std::uint8_t> file)
{
    if (file.size() < 4)
        return;
    std::uint32_t checksum = ComputeSavegameChecksum(file);
    std::size_t at = file.size() - 4;
    for (int i = 0; i < 4; ++i)
        file[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(checksum >> (8 * i));
}

void RewriteSavegameChecksum(std::string_view savegamePath)
{
    auto bytes = ReadWholeFile(savegamePath, 64u * 1024 * 1024);
    if (bytes.size() < 4)
        throw std::runtime_error("The savegame " + std::string(savegamePath) + " is too short to hold a checksum");
    std::uint32_t checksum = ComputeSavegameChecksum(bytes);
    std::uint8_t stored[4];
    for (int i = 0; i < 4; ++i)
        stored[i] = static_cast<std::uint8_t>(checksum >> (8 * i));
    // Only the last four bytes change; the rest of the savegame is never rewritten.
    PatchFile(savegamePath, bytes.size() - 4, stored);
}

} // namespace pitwall
