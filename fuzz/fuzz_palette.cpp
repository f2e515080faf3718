// Palette files of every kind (JASC-PAL text, RIFF PAL, ACT, GPL, the colour
// table of a BMP or PNG): any bytes either give 256 colours or are refused
// with FormatError. A palette read formats and parses back to itself.

#include "formats/Palette.h"
#include "formats/PaletteFiles.h"

#include <cstdlib>
#include <span>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Palette palette;
    try {
        palette = DecodePaletteFile(std::span<const std::uint8_t>(data, size));
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
