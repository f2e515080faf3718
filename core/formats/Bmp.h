#pragma once
// Windows BMP files. Reading takes 1-, 4- and 8-bit indexed pictures and 16-,
// 24- and 32-bit ones (uncompressed, run-length coded at 4 and 8 bits, or
// with bit-field masks at 16 and 32 bits), stored bottom-up or top-down, with a BITMAPINFOHEADER or one of its
// larger successors. Writing produces what the game's tools and the JAM
// export expect: 8 bits with a 256-entry colour table, or 24 or 32 bits, rows
// bottom-up, no compression, resolution and colour counts 0.

#include "base/ByteReader.h" // FormatError
#include "formats/Image.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pitwall {

// Largest width or height read; bigger pictures are refused as damaged.
inline constexpr int kMaxBmpSide = 16384;
// Largest picture read, in pixels: four times the largest JAM page (256 x
// 16384) and far beyond any other picture of the game, so that what a
// picture file claims never costs more than about 120 MB to decode.
inline constexpr std::int64_t kMaxPicturePixels = 4096 * 4096;

// Why the BMP, PNG and JPEG readers refuse a picture of the size its header
// claims, before any picture-sized memory is taken; empty when they read it.
std::string PictureSizeProblem(std::int64_t width, std::int64_t height);

// Whether the bytes are a BMP in the plain form every reader takes, the
// game's included: a 40-byte header, no compression or bit fields, rows
// bottom-up. Pictures in other forms are written anew before the game gets
// them.
bool IsPlainBmp(std::span<const std::uint8_t> bytes);

// Throws FormatError saying what is wrong with the bytes.
Image DecodeBmp(std::span<const std::uint8_t> bytes);
// Throws std::runtime_error when the file cannot be read, FormatError when it
// is not a BMP this reads.
Image LoadBmpFile(const std::string& fileName);
// The two halves of LoadBmpFile, for decoders into other forms: the file's
// bytes, and (called in a catch block) the failure rethrown naming the file.
std::vector<std::uint8_t> ReadBmpFileBytes(const std::string& fileName);
[[noreturn]] void RethrowNamingBmpFile(const std::string& fileName);

// The pixel rows of a 24-bit BMP (the usual kind: track pictures, team
// sheets) as the file holds them, for readers that convert them straight
// into a form of their own; nothing for a BMP of another depth. Throws as
// DecodeBmp does for a file it refuses.
struct Bmp24Rows {
    int width = 0;
    int height = 0;
    bool topDown = false;
    std::size_t stride = 0;
    std::span<const std::uint8_t> data; // every row, in the file's order
    // Row y of the picture, 0 the top: `width` blue, green, red triples.
    std::span<const std::uint8_t> row(int y) const
    {
        const auto fileRow = static_cast<std::size_t>(topDown ? y : height - 1 - y);
        return data.subspan(fileRow * stride, static_cast<std::size_t>(width) * 3);
    }
};
std::optional<Bmp24Rows> ReadBmp24Rows(std::span<const std::uint8_t> bytes);

// By the picture's depth: 8 or less as 8 bits with the picture's colour table
// (padded to 256 entries with black; each pixel written as the first equal
// table entry, else entry 0), 16 and 24 as 24 bits, 32 as 32 bits.
std::vector<std::uint8_t> EncodeBmp(const Image& image);
// The two headers EncodeBmp writes for a picture of this size and depth (8,
// 24 or 32), the pixels following after `colourTableBytes`; for encoders of
// pictures that are no Image.
std::vector<std::uint8_t> BmpHeaders(int width, int height, int bits, std::uint32_t colourTableBytes = 0);
// Bytes per row of pixels (rows are padded to four bytes).
std::size_t BmpRowStride(int width, int bits);
// Replaces the file's content.
void SaveBmpFile(const Image& image, const std::string& fileName);

} // namespace pitwall
