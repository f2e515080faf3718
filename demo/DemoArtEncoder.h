#pragma once
// The generator's own art-bank encoder. The program writes pictures without
// copy tokens; the game's bank is full of them, so the generator compresses
// the way the game's tools did: at every pixel it tries copying from a few
// already-drawn places (the previous pixel, the row above, the diagonal, the
// picture mirrored, columns read down or up, ...) in every copy direction and
// takes the longest copy, else a key run or one pixel word. Written apart
// from the program's decoder, so the tests compare two independent readings
// of the format.

#include "formats/ArtPicture.h"

#include <cstdint>
#include <vector>

namespace pitwall::demo {

struct DemoArtStats {
    std::uint64_t copyTokens = 0;
    std::uint64_t copyByDirection[8] = {};
    std::uint64_t keyRuns = 0;
    std::uint64_t singleKeyWords = 0;
    std::uint64_t literalWords = 0;
    std::uint32_t longestDistance = 0;
};

// `preference` rotates the order in which the copy candidates are tried, so
// that pictures with large even areas (where many candidates match) use
// different directions.
std::vector<std::uint8_t> EncodeDemoArt(const ArtPicture& picture, bool singleWordKeys, unsigned preference,
                                        DemoArtStats* stats = nullptr);

} // namespace pitwall::demo
