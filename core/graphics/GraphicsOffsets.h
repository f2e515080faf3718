#pragma once
// Where GP3.EXE holds the graphics tables, by game version (index: 0
// unknown, 1 v1.00, 2 v1.13, 3 v1.13 Gp3Video; 0 where the version is
// unknown, and nothing is read or written there).

#include <array>
#include <cstdint>

namespace pitwall {

// Car-number positions: 11 blocks of 96 bytes (integers 0-23 of each team's
// record), then 11 blocks of 24 bytes (integers 24-29).
inline constexpr std::array<std::uint32_t, 4> kCarNumbersOffset = {0, 0x1810B0, 0x182430, 0x182430};
inline constexpr std::size_t kCarNumberSourceBlock = 96;
inline constexpr std::size_t kCarNumberTargetBlock = 24;
inline constexpr std::size_t kCarNumbersBytes = 11 * (kCarNumberSourceBlock + kCarNumberTargetBlock);

// Pit-crew ramp tables: 11 x 16 bytes in team order.
inline constexpr std::array<std::uint32_t, 4> kPitCrewOffset = {0, 0x41BF38, 0x41D2B8, 0x41D2B8};
// Flag ramp tables: 4 x 16 bytes.
inline constexpr std::array<std::uint32_t, 4> kFlagColoursOffset = {0, 0x41C018, 0x41D398, 0x41D398};

inline constexpr std::size_t kRampTableBytes = 16;

} // namespace pitwall
