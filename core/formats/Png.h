#pragma once
// PNG pictures through libpng. Any PNG is read (every colour type and bit
// depth, interlaced or not); transparent pixels are put on black (each
// channel times its alpha), 16-bit channels keep their high byte. A palette
// PNG without transparent pixels comes out as an 8-bit picture with its
// palette as colour table, any other as a 24-bit picture. Writing makes an
// 8-bit palette PNG from a picture of depth 8 or less (its colour table,
// padded to 256 entries) and a 24-bit RGB PNG from any other.

#include "base/ByteReader.h" // FormatError
#include "formats/Image.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pitwall {

// Throws FormatError with the reason. Refused before any picture-sized memory
// is taken: a side beyond kMaxBmpSide or more than kMaxPicturePixels in all,
// and a file far too short to hold the picture it claims (more than deflate
// can pack into its size). `transparent`, when given, is set to whether any
// pixel had an alpha below 255.
Image DecodePng(std::span<const std::uint8_t> bytes, bool* transparent = nullptr);
std::vector<std::uint8_t> EncodePng(const Image& image);

// Throws std::runtime_error when the file cannot be read, FormatError (the
// message naming the file) when it is not a PNG this reads.
Image LoadPngFile(const std::string& fileName, bool* transparent = nullptr);
// Replaces the file's content.
void SavePngFile(const Image& image, const std::string& fileName);

} // namespace pitwall
