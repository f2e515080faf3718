#pragma once
// The compressed pixel stream of one art-bank entry. The picture is filled
// row by row from the top-left corner by tokens:
//   first word with bit 15 set      3 bytes: copy token (distance, count, direction)
//   0x7C1F                          3 bytes: a run of (third byte + 1) key pixels,
//                                   or 2 bytes: one key pixel in entries 422-432
//   any other word                  2 bytes: one pixel of that colour

#include "formats/ArtPicture.h"

#include <cstdint>
#include <span>
#include <vector>

namespace pitwall {

// Copy token counts, by bits 5-3 of the third byte.
inline constexpr int kArtCopyCounts[8] = {2, 3, 4, 5, 6, 7, 14, 28};
// Copy token steps of the source, by bits 2-0 of the third byte.
inline constexpr int kArtCopySteps[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
// A distance reaching back beyond the current row counts in rows of this many
// pixels, whatever the picture's width.
inline constexpr std::int64_t kArtRowSpan = 800;
inline constexpr int kMaxKeyRun = 255;

// The longest side a decoded picture may have; the game's largest is 800.
inline constexpr std::uint32_t kMaxArtSide = 8192;

// Decodes until the picture is full or the data is used up; pixels the data
// does not reach stay 0. A copy whose source lies outside the picture copies
// 0. Throws FormatError when a side exceeds kMaxArtSide.
ArtPicture DecodeArtEntry(std::span<const std::uint8_t> data, std::uint32_t width, std::uint32_t height,
                          bool singleWordKeys);
// The same into `picture`, reusing its storage.
void DecodeArtEntry(std::span<const std::uint8_t> data, std::uint32_t width, std::uint32_t height, bool singleWordKeys,
                    ArtPicture& picture);

// The program's encoding: key runs of at most 255 pixels, never crossing a
// row, and every other pixel as its own word (the game's groups of up to 127
// such pixels carry no mark in the stream); with single-word keys every pixel
// is one word. It never writes copy tokens. The whole stream is
// returned; whether it fits the entry is the caller's question.
std::vector<std::uint8_t> EncodeArtEntry(const ArtPicture& picture, bool singleWordKeys);
// The same into `stream`, reusing its storage.
void EncodeArtEntry(const ArtPicture& picture, bool singleWordKeys, std::vector<std::uint8_t>& stream);

} // namespace pitwall
