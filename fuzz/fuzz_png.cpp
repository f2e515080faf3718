// PNG reader: any bytes either decode or are refused with FormatError, and
// never take more memory than the picture they hold. A decoded picture must
// encode and decode back to the same pixels.

#include "formats/Bmp.h"
#include "formats/Png.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Image image;
    try {
        image = DecodePng(std::span<const std::uint8_t>(data, size));
    } catch (const FormatError&) {
        return 0;
    }
    if (image.width() <= 0 || image.height() <= 0 || image.width() > kMaxBmpSide || image.height() > kMaxBmpSide)
        std::abort();
    // A palette picture is written with its table; pixels from indices beyond
    // a short table become entry 0, so compare only direct-colour pictures.
    Image back = DecodePng(EncodePng(image));
    if (back.width() != image.width() || back.height() != image.height())
        std::abort();
    if (image.depth() > 8 && back.pixels() != image.pixels())
        std::abort();
    return 0;
}
