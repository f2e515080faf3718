#pragma once
// Header.DAT, the member that tells which items a carset holds: a 32-bit
// format number, one byte per selection item, 100 reserved bytes.

#include "transfer/SelectionItems.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pitwall {

inline constexpr const char* kHeaderMember = "Header.DAT";
inline constexpr const char* kInfoMember = "INFO.DAT";
inline constexpr std::size_t kHeaderSize = 360;
// How much longer than the record it holds a member may be: other tools
// write a few bytes more; a member far larger is not a record of ours.
inline constexpr std::size_t kMemberSlack = 4096;
// Written by this program; older carsets of format 7 are still read.
inline constexpr std::uint32_t kCarsetFormat = 8;
inline constexpr std::uint32_t kOldestCarsetFormat = 7;

struct CarsetHeader {
    std::uint32_t format = kCarsetFormat;
    ItemBytes items{};
};

std::vector<std::uint8_t> CarsetHeaderImage(const CarsetHeader& header);
// Nothing when the bytes are not a 360-byte header.
std::optional<CarsetHeader> ParseCarsetHeader(std::span<const std::uint8_t> bytes);

} // namespace pitwall
