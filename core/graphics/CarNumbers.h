#pragma once
// The car-number positions as GP3.EXE and the carset member Carnumbers.DAT
// hold them.

#include "graphics/GraphicsSet.h"

#include <cstdint>
#include <span>
#include <vector>

namespace pitwall {

class GameFile;

inline constexpr const char* kCarNumbersMember = "Carnumbers.DAT";

// The member: records in team order, each 30 little-endian int32.
std::vector<std::uint8_t> CarNumbersImage(const CarNumberTable& table);
// Throws FormatError when fewer than 1,320 bytes are given.
CarNumberTable CarNumbersFromImage(std::span<const std::uint8_t> bytes);
// The two tables at the version's offset; GameFileError past the end.
CarNumberTable ReadCarNumbers(const GameFile& exe, std::uint32_t offset);
void WriteCarNumbers(const CarNumberTable& table, GameFile& exe, std::uint32_t offset);

} // namespace pitwall
