#pragma once
// Byte images of the track records, exactly the carset members:
//
// TrackInfo<i>.DAT (2868 bytes)
//      0 qualifying lap record (48)     48 race lap record (48)
//     96 savegame byte  97 laps u8      98 city, 8 x 30 by language
//    338 country 1..5, each 8 x 30    1538 attribute, 8 x 30
//   1778 track file name (20)         1798 grip u16   1800 strategies 24 x u16
//   1848 metres u16  1850 feet u16    1852 car setup 8 x u8
//   1860 fuel player u16  1862 fuel computer u16  1864 year u16
//   1866 practice day u8  1867 unused u8  1868 bumps 50 x (u16, u16)
//   2068 bumps minus one u8           2069 799 zero bytes
// lap record: driver (24), team (14), 2 unused, lap time u32, date u32.
//
// TrackSecInfo<i>.DAT (4816 bytes): four views of 1204 bytes: budget u16,
// count u8, unused u8, 30 sections of 40 bytes: label (30), gear u8,
// speed u8, X1 Y1 X2 Y2 u16.
//
// Carsets of format 7 hold a TrackInfo of 907 bytes: bytes 0..97, city,
// country 1, attribute, file name, grip, strategies, both lengths, setup,
// both fuel values, year and practice day.

#include "tracks/TrackTable.h"

#include <cstddef>
#include <span>
#include <vector>

namespace pitwall {

inline constexpr std::size_t kTrackInfoSize = 2868;
inline constexpr std::size_t kOldTrackInfoSize = 907;
inline constexpr std::size_t kTrackSecInfoSize = 4816;
inline constexpr std::size_t kTrackViewSize = 1204;

std::vector<std::uint8_t> TrackInfoImage(const TrackInfo& info);
// Throws FormatError unless the image holds 2868 bytes.
TrackInfo TrackInfoFromImage(std::span<const std::uint8_t> image);
// The older layout: country texts 2..5 become copies of country 1, bumps
// keep what `info` had. Throws FormatError unless 907 bytes.
void ReadOldTrackInfo(TrackInfo& info, std::span<const std::uint8_t> image);

std::vector<std::uint8_t> TrackSecInfoImage(const TrackSecInfo& sections);
// Throws FormatError unless 4816 bytes; a count above 30 reads as 30.
TrackSecInfo TrackSecInfoFromImage(std::span<const std::uint8_t> image);

} // namespace pitwall
