#pragma once
// The pictures of the generated art bank: the size of every one of the 840
// entries and a picture for it that depends only on the entry and the seed,
// so the tests can draw it again and compare it with what the bank decodes to.

#include "formats/ArtPicture.h"

#include <cstddef>
#include <cstdint>

namespace pitwall::demo {

struct DemoArtSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

DemoArtSize DemoArtEntrySize(std::size_t entry);
// Entries the generated bank already holds expanded (room for the uncoded picture).
bool DemoArtEntryExpanded(std::size_t entry);
ArtPicture DemoArtPicture(std::size_t entry, std::uint64_t seed);
// The same into an existing picture, reusing its memory.
void DrawDemoArtPicture(std::size_t entry, std::uint64_t seed, ArtPicture& picture);

} // namespace pitwall::demo
