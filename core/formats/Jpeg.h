#pragma once
// JPEG pictures through libjpeg-turbo. Decoded pictures are 24-bit; grey
// JPEGs come out as grey colours.

#include "base/ByteReader.h" // FormatError
#include "formats/Image.h"

#include <cstdint>
#include <span>
#include <vector>

namespace pitwall {

// Quality used when the editors save a picture as JPEG, and the encoder's
// default used when a BMP is converted.
inline constexpr int kJpegSaveQuality = 80;
inline constexpr int kJpegConvertQuality = 90;

// Throws FormatError with libjpeg's own reason. Refused as well, before any
// picture-sized memory is taken: a claimed side beyond kMaxBmpSide or more
// than kMaxPicturePixels in all, picture data that ends before the picture is
// complete, and a picture needing more than 32 MB of decoder memory.
Image DecodeJpeg(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality);

} // namespace pitwall
