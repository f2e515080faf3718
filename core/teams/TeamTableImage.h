#pragma once
// The byte image of the TeamTable: exactly the content of the carset member
// TeamsDrivers.DAT. Eleven 102-byte team records in slot order, little-endian:
//
//   team record   0 name (13)  13 engine (13)  26 TFAIL u16  28 TQP u16
//                30 TRP u16   32 driver 1 (34)  66 driver 2 (34)
//               100 tyre type u8  101 pit position u8
//   driver record 0 name (24)  24 QP u16  26 RP u16  28 QA u16  30 RA u16
//                32 car number u8  33 selected u8

#include "teams/TeamTable.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pitwall {

inline constexpr std::size_t kTeamRecordSize = 102;
inline constexpr std::size_t kDriverRecordSize = 34;
inline constexpr std::size_t kTeamTableImageSize = kTeamCount * kTeamRecordSize; // 1122

std::vector<std::uint8_t> TeamTableImage(const TeamTable& table);
// Throws FormatError (base/ByteReader.h) unless `image` is exactly 1122
// bytes long.
TeamTable TeamTableFromImage(std::span<const std::uint8_t> image);

} // namespace pitwall
