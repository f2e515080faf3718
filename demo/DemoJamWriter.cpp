#include "DemoJamWriter.h"

#include "base/ByteWriter.h"
#include "formats/Jam16Codec.h"
#include "formats/JamScramble.h"

#include <algorithm>

namespace pitwall::demo {

namespace {

constexpr int kWidth = 256;

// Distinct palette indices from one or two colour ramps, leaving out index
// 255 (the game palette repeats white there), so every table position has a
// colour of its own.
std::vector<std::uint8_t> RampTable(int size, DemoRandom& random)
{
    std::vector<std::uint8_t> table;
    int ramp = random.between(1, 14);
    while (static_cast<int>(table.size()) < size) {
        for (int k = 0; k < 16 && static_cast<int>(table.size()) < size; ++k)
            table.push_back(static_cast<std::uint8_t>(ramp * 16 + k));
        ramp = ramp % 14 + 1;
    }
    return table;
}

int TableSize(DemoRandom& random)
{
    static constexpr int kSizes[] = {0, 4, 8, 12, 16, 24, 32, 48};
    return kSizes[random.between(0, 7)];
}

} // namespace

DemoJamLayout MakeJamLayout(int height, int maxImages, DemoRandom& random)
{
    static constexpr int kShelves[] = {16, 32, 48, 64};
    static constexpr int kWidths[] = {32, 64, 96, 128, 256};
    DemoJamLayout layout;
    layout.height = height;
    int y = 0;
    while (y < height && static_cast<int>(layout.images.size()) < maxImages) {
        int shelf = std::min(kShelves[random.between(0, 3)], height - y);
        int x = 0;
        while (x < kWidth && static_cast<int>(layout.images.size()) < maxImages) {
            int w = std::min(kWidths[random.between(0, 4)], kWidth - x);
            DemoJamImage im;
            im.x = x;
            im.y = y;
            // Some images leave a margin in their slot, as packed pages do.
            im.w = w - (random.chance(30) ? random.between(1, w / 4) : 0);
            im.h = shelf - (random.chance(30) ? random.between(0, shelf / 4) : 0);
            im.textureId = random.between(1, 900);
            im.table = RampTable(TableSize(random), random);
            layout.images.push_back(std::move(im));
            x += w;
        }
        y += shelf;
        // Now and then a band of the page belongs to no image.
        if (random.chance(15))
            y += 8;
    }
    return layout;
}

DemoJamLayout MakeGridLayout(int height, int cellWidth, int cellHeight, int count, DemoRandom& random)
{
    DemoJamLayout layout;
    layout.height = height;
    const int perRow = kWidth / cellWidth;
    for (int n = 0; n < count; ++n) {
        DemoJamImage im;
        im.x = (n % perRow) * cellWidth;
        im.y = (n / perRow) * cellHeight;
        im.w = cellWidth;
        im.h = cellHeight;
        im.textureId = 100 + n;
        im.table = RampTable(random.chance(20) ? 0 : 16 + 8 * random.between(0, 2), random);
        layout.images.push_back(std::move(im));
    }
    return layout;
}

std::vector<std::uint8_t> MakeJam8Page(const DemoJamLayout& layout, DemoRandom& random)
{
    std::vector<std::uint8_t> page(static_cast<std::size_t>(kWidth) * static_cast<std::size_t>(layout.height), 0);
    for (const auto& im : layout.images) {
        const int s = static_cast<int>(im.table.size());
        const int ramp = random.between(1, 14);
        const int stripe = random.between(2, 6);
        for (int y = im.y; y < im.y + im.h; ++y) {
            const std::size_t row = static_cast<std::size_t>(y) * kWidth;
            for (int x = im.x; x < im.x + im.w; ++x) {
                const int shade = ((x - im.x) / stripe + (y - im.y) / 2);
                // Without tables the byte is the palette index itself.
                page[row + static_cast<std::size_t>(x)] =
                    static_cast<std::uint8_t>(s == 0 ? ramp * 16 + shade % 16 : shade % s);
            }
        }
    }
    return page;
}

std::vector<std::uint16_t> MakeJam16Page(const DemoJamLayout& layout, DemoRandom& random)
{
    std::vector<std::uint16_t> page(static_cast<std::size_t>(kWidth) * static_cast<std::size_t>(layout.height), 0);
    for (const auto& im : layout.images) {
        const std::uint16_t flat = static_cast<std::uint16_t>(random.next() & 0xFFFF);
        const int block = 8 << random.between(0, 2);
        for (int y = im.y; y < im.y + im.h; ++y) {
            const std::size_t row = static_cast<std::size_t>(y) * kWidth;
            for (int x = im.x; x < im.x + im.w; ++x) {
                std::uint16_t& out = page[row + static_cast<std::size_t>(x)];
                const int bx = (x - im.x) / block, by = (y - im.y) / block;
                if ((bx + by) % 3 == 0) {
                    out = flat; // a painted area: long runs
                } else {
                    const int r = ((x - im.x) * 4) & 0x1F, g = ((y - im.y) * 2) & 0x3F, b = (bx * 5 + by) & 0x1F;
                    out = static_cast<std::uint16_t>((r << 11) | (g << 5) | b);
                }
            }
        }
    }
    return page;
}

std::vector<std::uint8_t> Jam8File(const DemoJamLayout& layout, const std::vector<std::uint8_t>& page, bool scrambled)
{
    ByteWriter w;
    w.u16(static_cast<std::uint16_t>(layout.images.size()));
    w.u16(static_cast<std::uint16_t>(layout.height));
    int offset = 0;
    for (const auto& im : layout.images) {
        w.u8(static_cast<std::uint8_t>(im.x));
        w.u16(static_cast<std::uint16_t>(im.y));
        w.u8(0);
        w.u16(static_cast<std::uint16_t>(im.w));
        w.u16(static_cast<std::uint16_t>(im.h));
        w.u32(0x00010001); // flags the program keeps without reading
        w.u16(static_cast<std::uint16_t>(offset));
        w.u16(0);
        w.u16(static_cast<std::uint16_t>(im.table.size()));
        w.u16(static_cast<std::uint16_t>(im.textureId));
        w.zeros(12);
        offset += 4 * static_cast<int>(im.table.size());
    }
    for (const auto& im : layout.images)
        for (int k = 0; k < 4; ++k)
            w.bytes(im.table);
    std::vector<std::uint8_t> bytes = w.take();
    bytes.insert(bytes.end(), page.begin(), page.end());
    if (scrambled)
        ScrambleBytes(bytes);
    return bytes;
}

std::vector<std::uint8_t> Jam16File(const DemoJamLayout& layout, const std::vector<std::uint16_t>& page,
                                    bool normalised, DemoRandom& random)
{
    std::vector<std::uint8_t> stream = EncodeJamRuns(page);
    ByteWriter w;
    w.u32(kJam16Magic);
    w.u16(static_cast<std::uint16_t>(layout.images.size()));
    w.u16(static_cast<std::uint16_t>(layout.height));
    // Record bytes other than the mark stay below 0x80, so no second 0xFFFF
    // appears, and filler is never a space, so the record ends where meant.
    auto filler = [&] { return static_cast<std::uint8_t>(random.between(0x21, 0x7E)); };
    for (std::size_t i = 0; i < layout.images.size(); ++i) {
        const auto& im = layout.images[i];
        const bool last = i + 1 == layout.images.size();
        const int d = random.between(2, 4);
        int e = random.between(0, 0x7F);
        if (last)
            e = normalised || stream.empty() ? 133 - d : (stream[0] - d + 5) & 0xFF;
        w.u8(static_cast<std::uint8_t>(im.x & 0x7F));
        w.u8(static_cast<std::uint8_t>(im.y & 0x7F));
        w.u8(static_cast<std::uint8_t>(im.w / 4));
        w.u8(static_cast<std::uint8_t>(im.h & 0x7F));
        w.u8(0xFF);
        w.u8(0xFF);
        w.u16(static_cast<std::uint16_t>(i));
        w.u8(static_cast<std::uint8_t>(im.textureId & 0x7F));
        w.u8(0);
        w.u8(static_cast<std::uint8_t>(d));
        w.u8(filler());
        w.u8(filler());
        w.u8(static_cast<std::uint8_t>(e));
        const int toSpace = 19 - 2 * d - 10 + random.between(0, 3);
        for (int k = 0; k < toSpace; ++k)
            w.u8(filler());
        w.u8(0x20);
    }
    std::vector<std::uint8_t> bytes = w.take();
    const bool folded = !normalised && !layout.images.empty() && !stream.empty();
    bytes.insert(bytes.end(), stream.begin() + (folded ? 1 : 0), stream.end());
    return bytes;
}

} // namespace pitwall::demo
