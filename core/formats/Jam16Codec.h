#pragma once
// The parts of a 16-bit (hardware) JAM file: the header walk that finds where
// the pixels start, and the run-length coding of the RGB565 pixels.
//
// File: the word 9999999, image count (u16), page height (u16), then one
// header record per image and the pixel stream. The program does not
// interpret the records beyond the bytes the walk needs; it keeps the header
// and writes it back.
//
// Pixel stream: groups filling the 256-pixel-wide page row by row. Control
// byte c of 0..127 is a run of c pixels of the one colour that follows;
// 129..255 is a literal group of c - 128 colours. 128 (never written) is an
// empty group.

#include "formats/Image.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pitwall {

inline constexpr std::uint32_t kJam16Magic = 9999999; // 0x0098967F
inline constexpr int kJamPageWidth = 256;

// RGB565 as the game stores it; decoding multiplies the fields by 8, 4, 8.
constexpr std::uint16_t Rgb565FromPixel(Pixel p)
{
    return static_cast<std::uint16_t>(((RedOf(p) & 0xF8) << 8) | ((GreenOf(p) & 0xFC) << 3) | (BlueOf(p) >> 3));
}
constexpr Pixel PixelFromRgb565(std::uint16_t v)
{
    return MakePixel(((v >> 11) & 0x1F) * 8, ((v >> 5) & 0x3F) * 4, (v & 0x1F) * 8);
}

struct Jam16Header {
    std::uint16_t imageCount = 0;
    std::uint16_t pageHeight = 0;
    // The header as it is written back: the file's bytes up to and including
    // the space that ends the last record, with the last record's byte m + 9
    // set to 133 - d so that the pixels follow the space directly.
    std::vector<std::uint8_t> bytes;
    // Where the pixel stream starts in the file, and the control byte that
    // stands in for the file's byte there when the stream starts on the
    // space itself.
    std::size_t pixelStart = 0;
    std::optional<std::uint8_t> firstControl;
};

// Walks the header records: for each image, the first 0xFFFF word after the
// previous record gives m; d = byte m + 6 must be 2, 3 or 4 (else JamError
// with UI text 322); the record ends at the first space at or after
// m + 19 - 2d. With e = byte m + 9 of the last record, f = (e + d - 5) mod 256
// is 128 when the pixels start after that space, else the first control byte
// standing in place of the space. Throws JamError when a search runs off the
// end of the file.
Jam16Header WalkJam16Header(std::span<const std::uint8_t> file);

// Decodes the stream from `start` into the page (256 wide, its rows already
// sized). Throws JamError when the stream ends before the page is full or in
// the middle of a group; bytes after a full page are ignored.
void DecodeJamRuns(std::span<const std::uint8_t> file, std::size_t start, std::optional<std::uint8_t> firstControl,
                   Image& page);

// Runs of equal values (2..127) as control byte + value, everything else as
// literal groups of up to 127 values; a literal group ends where a run
// begins.
std::vector<std::uint8_t> EncodeJamRuns(std::span<const std::uint16_t> values);
// The page in RGB565, row by row.
std::vector<std::uint16_t> PageToRgb565(const Image& page);

} // namespace pitwall
