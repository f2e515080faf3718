// The LCD display file LDATA\<language>.3D: any bytes are read or refused
// with a ThreeDError, and whatever was read is written in a form the reader
// takes back (the program must read its own files).

#include "cockpit/ThreeDFile.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > kThreeDMaxBytes)
        return 0;
    static const PlaceholderCaptions captions = DefaultPlaceholderCaptions();
    LcdDisplay display;
    try {
        display = ParseThreeD({data, size}, LcdDisplay{}, captions, "FUZZ.3D");
    } catch (const ThreeDError&) {
        return 0;
    }
    const std::vector<std::uint8_t> written = WriteThreeD(display);
    try {
        ParseThreeD(written, display, captions, "FUZZ.3D");
    } catch (const ThreeDError&) {
        std::abort();
    }
    return 0;
}
