// 8-bit JAM reader: any bytes either load or are refused with JamError. What
// loads must save into a file that loads, and saving that again must give the
// same bytes. (The first save may change the page: a stored byte beyond an
// image's table size shows palette entry 0, which its table may not hold.)

#include "formats/JamFile.h"

#include <algorithm>
#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Palette palette = [] {
        std::array<Pixel, 256> p{};
        for (int i = 1; i < 256; ++i)
            p[static_cast<std::size_t>(i)] = MakePixel(i, 255 - i, i / 3);
        return Palette(p);
    }();
    // Stored unscrambled, so the fuzzer sees the layout directly.
    std::span<const std::uint8_t> bytes(data, size);
    TJAMFile jam(palette);
    try {
        jam.Decode(bytes, true);
    } catch (const JamError&) {
        return 0;
    }
    if (!jam.is8Bit())
        return 0;
    TMemFile saved = jam.Assemble(false);
    TJAMFile back(palette);
    back.Decode(saved.Content(), true); // throws (a finding) if the writer made a bad file
    TMemFile again = back.Assemble(false);
    if (back.imageCount() != jam.imageCount() || !std::ranges::equal(again.Content(), saved.Content()))
        std::abort();
    return 0;
}
