// BMP reader: any bytes either decode or are refused with FormatError. A
// decoded picture must encode and decode back to the same pixels.

#include "formats/Bmp.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Image image;
    try {
        image = DecodeBmp(std::span<const std::uint8_t>(data, size));
    } catch (const FormatError&) {
        return 0;
    }
    // Indexed pictures are written with their table; colours not in it (from
    // indices beyond a short table) become entry 0, so compare only
    // direct-colour pictures exactly.
    Image back = DecodeBmp(EncodeBmp(image));
    if (back.width() != image.width() || back.height() != image.height())
        std::abort();
    if (image.depth() > 8 && back.pixels() != image.pixels())
        std::abort();
    return 0;
}
