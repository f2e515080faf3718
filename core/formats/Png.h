#pragma once
// A picture as a PNG file (8-bit RGB, not filtered, stored in uncompressed
// deflate blocks): enough for previews that tools and web pages show, with
// no library behind it.

#include "formats/Image.h"

#include <cstdint>
#include <vector>

namespace pitwall {

std::vector<std::uint8_t> EncodePng(const Image& image);

} // namespace pitwall
