#pragma once
// The generator's own JAM writer: lays images out on a page and assembles
// 8-bit and 16-bit JAM files byte by byte, independently of the program's
// TJAMFile (only the scramble key stream and the run-length coder are
// shared, and the format tests check those against hand-built bytes).

#include "DemoRandom.h"

#include <cstdint>
#include <vector>

namespace pitwall::demo {

struct DemoJamImage {
    int x = 0, y = 0, w = 0, h = 0;
    int textureId = 0;
    // Palette indices; its length is the image's table size (0: none).
    std::vector<std::uint8_t> table;
};

struct DemoJamLayout {
    int height = 0;
    std::vector<DemoJamImage> images;
};

// Images packed in shelves over the page, at most `maxImages`, with tables
// of assorted sizes (some none).
DemoJamLayout MakeJamLayout(int height, int maxImages, DemoRandom& random);
// A fixed grid of w x h cells, `count` of them row by row (helmet sheets).
DemoJamLayout MakeGridLayout(int height, int cellWidth, int cellHeight, int count, DemoRandom& random);

// Stored page bytes for an 8-bit JAM: inside each image values below its
// table size (palette indices 1..254 for an image without tables), 0 outside
// every image, as the program's writer leaves them.
std::vector<std::uint8_t> MakeJam8Page(const DemoJamLayout& layout, DemoRandom& random);
// RGB565 page for a 16-bit JAM: flat areas and gradients inside the images,
// black outside.
std::vector<std::uint16_t> MakeJam16Page(const DemoJamLayout& layout, DemoRandom& random);

// The 8-bit file: entries, contiguous table blocks, page; scrambled.
std::vector<std::uint8_t> Jam8File(const DemoJamLayout& layout, const std::vector<std::uint8_t>& page,
                                   bool scrambled = true);
// The 16-bit file: the magic word, counts, one header record per image and
// the run-length coded page. Unless `normalised`, the first control byte of
// the stream is folded into the last record (byte m + 9 = f - d + 5) and the
// record's closing space stands in its place, as the game's own files have
// it.
std::vector<std::uint8_t> Jam16File(const DemoJamLayout& layout, const std::vector<std::uint16_t>& page,
                                    bool normalised, DemoRandom& random);

} // namespace pitwall::demo
