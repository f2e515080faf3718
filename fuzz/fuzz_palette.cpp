// Palette text: any bytes either parse into 256 colours or are refused with
// FormatError. A parsed palette formats and parses back to itself.

#include "formats/Palette.h"

#include <cstdlib>
#include <string_view>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Palette palette;
    try {
        palette = ParsePalette(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const FormatError&) {
        return 0;
    }
    if (!(ParsePalette(FormatPalette(palette)) == palette))
        std::abort();
    for (int i = 0; i < 256; ++i)
        if (palette.exactIndexOfPixel(palette.pixel(i)) > i)
            std::abort();
    return 0;
}
