// The art bank's directory: any bytes give a directory of 840 records (those
// the bytes hold read); written back it reads the same; the check of the
// entries against the file's size names an entry or none; the expanded layout
// only ever enlarges entries.

#include "formats/ArtBankDirectory.h"
#include "formats/ArtBankExpansion.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ArtDirectory dir = ParseArtDirectory(std::span<const std::uint8_t>(data, size));
    if (dir.entries.size() != kArtEntryCount || dir.entriesRead > kArtEntryCount)
        std::abort();
    if (size >= kArtDirectoryEnd && !dir.complete())
        std::abort();
    auto bytes = BuildArtDirectory(dir);
    if (bytes.size() != kArtDirectoryEnd)
        std::abort();
    ArtDirectory back = ParseArtDirectory(bytes);
    if (back.entries != dir.entries || back.headerText != dir.headerText || !back.complete())
        std::abort();
    auto outside = FirstEntryOutsideFile(dir, size);
    if (outside && *outside >= kArtEntryCount)
        std::abort();
    std::vector<bool> flags(kArtEntryCount);
    for (std::size_t i = 0; i < kArtEntryCount; ++i)
        flags[i] = size > 0 && (data[i % size] & 1) != 0;
    ArtDirectory layout = ExpandedLayout(dir, flags);
    for (std::size_t i = 0; i < kArtEntryCount; ++i)
        if (layout.entries[i].reservedSize < dir.entries[i].reservedSize)
            std::abort();
    return 0;
}
