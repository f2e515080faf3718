#pragma once
// The checksum in the last four bytes of F1GSTATE.SAV. The game refuses a
// savegame whose checksum does not match, so it is rewritten after every
// export. It covers every byte but the last four: a 16-bit sum and a 16-bit
// rotate-and-add, stored as rot * 65536 + sum, little-endian.

#include <cstdint>
#include <span>
#include <string_view>

namespace pitwall {

// Checksum of a savegame image (its last four bytes excluded). A file
// shorter than five bytes has no checksummed bytes beyond the first, or none.
std::uint32_t ComputeSavegameChecksum(std::span<const std::uint8_t> file);
// The checksum stored in the last four bytes (0 for a file under 4 bytes).
std::uint32_t StoredSavegameChecksum(std::span<const std::uint8_t> file);
// Writes the computed checksum into the last four bytes of the image.
void WriteSavegameChecksum(std::span<std::uint8_t> file);

// Recomputes and rewrites the checksum of the file on disk. Throws
// std::runtime_error when the file cannot be read or written or is shorter
// than four bytes.
void RewriteSavegameChecksum(std::string_view savegamePath);

} // namespace pitwall
