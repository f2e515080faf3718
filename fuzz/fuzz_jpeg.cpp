// JPEG reader: any bytes either decode or are refused with FormatError, and
// never take more memory than the picture they hold. A decoded picture must
// encode and decode back to the same size.

#include "formats/Bmp.h"
#include "formats/Jpeg.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Image image;
    try {
        image = DecodeJpeg(std::span<const std::uint8_t>(data, size));
    } catch (const FormatError&) {
        return 0;
    }
    if (image.width() <= 0 || image.height() <= 0 || image.width() > kMaxBmpSide || image.height() > kMaxBmpSide)
        std::abort();
    Image back = DecodeJpeg(EncodeJpeg(image, kJpegSaveQuality));
    if (back.width() != image.width() || back.height() != image.height())
        std::abort();
    return 0;
}
