#pragma once
// Hand-built JAM files for the format tests: every byte placed here by the
// test, independent of the program's writer.

#include "TestSupport.h"
#include "base/ByteWriter.h"
#include "base/Messages.h"
#include "base/UITexts.h"
#include "formats/JamFile.h"
#include "formats/Palette.h"

#include <cstdint>
#include <vector>

namespace pitwall::test {

// Entry i of this palette is red i, green 255 - i, blue 40, except entry 0,
// which is black as in the game's palette (pages start black): every colour
// differs and a colour tells its index.
inline Palette CountingPalette()
{
    std::array<Pixel, 256> pixels{};
    for (int i = 1; i < 256; ++i)
        pixels[static_cast<std::size_t>(i)] = MakePixel(i, 255 - i, 40);
    return Palette(pixels);
}

struct HandImage {
    int x = 0, y = 0, w = 0, h = 0;
    int textureId = 0;
    std::vector<std::uint8_t> table; // table size = its length; written four times
};

// Whether page pixel (x, y) lies in one of the JAM's images; an 8-bit file
// keeps nothing elsewhere, so pages are black there.
inline bool InAnImage(const TJAMFile& jam, int x, int y)
{
    for (const JamEntry& e : jam.entries())
        if (e.x <= x && x < e.x + e.width && e.y <= y && y < e.y + e.height)
            return true;
    return false;
}

// The middle pixel of image `image`.
inline std::pair<int, int> MiddleOf(const TJAMFile& jam, int image)
{
    const Rect r = jam.ImageRect(image);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// An unscrambled 8-bit JAM with contiguous table blocks; `page` holds
// 256 x height bytes.
inline std::vector<std::uint8_t> HandJam8(int height, const std::vector<HandImage>& images,
                                          const std::vector<std::uint8_t>& page)
{
    ByteWriter w;
    w.u16(static_cast<std::uint16_t>(images.size()));
    w.u16(static_cast<std::uint16_t>(height));
    int offset = 0;
    for (const auto& im : images) {
        w.u8(static_cast<std::uint8_t>(im.x));
        w.u16(static_cast<std::uint16_t>(im.y));
        w.u8(0xA3); // kept bytes get recognisable values
        w.u16(static_cast<std::uint16_t>(im.w));
        w.u16(static_cast<std::uint16_t>(im.h));
        w.u32(0xA8A8A8A8);
        w.u16(static_cast<std::uint16_t>(offset));
        w.u16(0xA14A);
        w.u16(static_cast<std::uint16_t>(im.table.size()));
        w.u16(static_cast<std::uint16_t>(im.textureId));
        for (int k = 0; k < 12; ++k)
            w.u8(static_cast<std::uint8_t>(0xB0 + k));
        offset += 4 * static_cast<int>(im.table.size());
    }
    for (const auto& im : images)
        for (int k = 0; k < 4; ++k)
            w.bytes(im.table);
    w.bytes(page);
    return w.take();
}

// One 16-bit header record: the 0xFFFF mark, layout byte d at +6, byte e at
// +9, filler that is neither 0xFF nor a space up to m + 19 - 2d, `extra` more
// such bytes, then the space that ends the record.
inline std::vector<std::uint8_t> HandRecord16(int d, int e, int extra = 0)
{
    std::vector<std::uint8_t> r = {
        0xFF, 0xFF, 0x10, 0x00, 0x20, 0x00, static_cast<std::uint8_t>(d), 0x05, 0x06, static_cast<std::uint8_t>(e)};
    while (r.size() < static_cast<std::size_t>(19 - 2 * d + extra))
        r.push_back(0x41);
    r.push_back(0x20);
    return r;
}

inline std::vector<std::uint8_t> HandJam16Header(int height, const std::vector<std::vector<std::uint8_t>>& records)
{
    ByteWriter w;
    w.u32(9999999);
    w.u16(static_cast<std::uint16_t>(records.size()));
    w.u16(static_cast<std::uint16_t>(height));
    for (const auto& r : records) {
        w.u8(0x33); // a byte before the mark: the search steps over it
        w.bytes(r);
    }
    return w.take();
}

// What every JAM test works with: a palette, texts, recorded messages and a
// directory of its own.
struct JamTestContext {
    Palette palette = CountingPalette();
    UITexts texts;
    RecordingMessages sink;
    Messenger messenger{texts, sink};
    TempDir dir;
};

} // namespace pitwall::test
