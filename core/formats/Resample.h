#pragma once
// Changing a picture's size for the game's fixed-size menu pictures (640 x
// 480 loading pictures, 800 x 600 menu backgrounds): area averaging where an
// axis shrinks, so detail is blended rather than dropped, and bilinear
// interpolation where it grows, so edges do not turn into blocks.

#include "formats/Image.h"

namespace pitwall {

// A 24-bit picture of the given size (a null picture gives black).
Image ResamplePicture(const Image& source, int width, int height);

} // namespace pitwall
