// Art-bank entry decoder: the first four bytes choose the picture's size (up
// to 800 wide, so the row-back rule and both wrap rules are reached) and
// whether keys are single words; the rest is the entry's data. A decoded
// picture must encode and decode back to itself.

#include "formats/ArtBankDirectory.h"
#include "formats/ArtEntryCodec.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const std::uint32_t width = 1 + (data[0] | (data[1] << 8)) % 800;
    const std::uint32_t height = 1 + data[2] % 48;
    const bool singleWordKeys = data[3] & 1;
    std::span<const std::uint8_t> stream(data + 4, size - 4);
    ArtPicture picture = DecodeArtEntry(stream, width, height, singleWordKeys);
    if (picture.width != width || picture.height != height || picture.words.size() != std::size_t{width} * height)
        std::abort();
    for (ArtWord& w : picture.words)
        if (w & 0x8000)
            std::abort();
    if (DecodeArtEntry(EncodeArtEntry(picture, singleWordKeys), width, height, singleWordKeys) != picture)
        std::abort();
    // The same bytes as a bank directory.
    ArtDirectory dir = ParseArtDirectory(std::span<const std::uint8_t>(data, size));
    if (dir.entries.size() != kArtEntryCount || dir.entriesRead > kArtEntryCount)
        std::abort();
    return 0;
}
