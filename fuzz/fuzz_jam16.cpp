// 16-bit JAM reader: the header walk and the run-length stream. The input
// follows the 9999999 mark, so every input takes the 16-bit path. What loads
// must save (normalised) and load back to the same page.

#include "formats/Jam16Codec.h"
#include "formats/JamFile.h"

#include <cstdlib>
#include <vector>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Palette palette;
    std::vector<std::uint8_t> file = {0x7F, 0x96, 0x98, 0x00};
    file.insert(file.end(), data, data + size);
    TJAMFile jam(palette);
    try {
        jam.Decode(file, false);
    } catch (const JamError&) {
        return 0;
    }
    TMemFile saved = jam.Assemble(true);
    TJAMFile back(palette);
    back.Decode(saved.Content(), false);
    if (!(back.page() == jam.page()))
        std::abort();
    return 0;
}
