// Writes a few small valid inputs per fuzz target into DIR/<target>/, so the
// fuzzers start from files that reach deep into the readers.

#include "formats/Bmp.h"
#include "formats/ByteWriter.h"
#include "formats/Jam16Codec.h"
#include "formats/Palette.h"
#include "transfer/FileUtils.h"

#include <cstdio>
#include <string>

using namespace pitwall;

namespace {

void Put(const std::string& dir, const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    ForceDirectories(dir);
    WriteWholeFile(IncludeTrailingBackslash(dir) + name, bytes);
}

std::vector<std::uint8_t> Jam8(int height, int images)
{
    ByteWriter w;
    w.u16(static_cast<std::uint16_t>(images));
    w.u16(static_cast<std::uint16_t>(height));
    for (int i = 0; i < images; ++i) {
        w.u8(static_cast<std::uint8_t>(i * 16));
        w.u16(0);
        w.u8(0);
        w.u16(16);
        w.u16(static_cast<std::uint16_t>(height));
        w.zeros(4);
        w.u16(static_cast<std::uint16_t>(i * 4 * (i % 2 ? 0 : 3)));
        w.u16(0);
        w.u16(static_cast<std::uint16_t>(i % 2 ? 0 : 3));
        w.u16(static_cast<std::uint16_t>(i));
        w.zeros(12);
    }
    for (int i = 0; i < images; ++i)
        if (i % 2 == 0)
            for (int k = 0; k < 4; ++k)
                w.bytes(std::vector<std::uint8_t>{5, 6, 7});
    for (int p = 0; p < 256 * height; ++p)
        w.u8(static_cast<std::uint8_t>(p % 3));
    return w.take();
}

// Without the 9999999 mark, which the target puts in front.
std::vector<std::uint8_t> Jam16Body(int height, bool folded)
{
    ByteWriter w;
    w.u16(1);
    w.u16(static_cast<std::uint16_t>(height));
    std::vector<std::uint16_t> page(256 * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < page.size(); ++i)
        page[i] = static_cast<std::uint16_t>(i < 300 ? 0x1234 : i * 7);
    auto stream = EncodeJamRuns(page);
    const int d = 3;
    const int e = folded ? (stream[0] - d + 5) & 0xFF : 133 - d;
    for (std::uint8_t b : std::vector<std::uint8_t>{0x33, 0xFF, 0xFF, 1, 2, 3, 4, static_cast<std::uint8_t>(d), 7, 8,
                                                    static_cast<std::uint8_t>(e), 0x41, 0x41, 0x20})
        w.u8(b);
    auto bytes = w.take();
    bytes.insert(bytes.end(), stream.begin() + (folded ? 1 : 0), stream.end());
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: pitwall-fuzz-seeds DIR\n");
        return 2;
    }
    const std::string dir = IncludeTrailingBackslash(argv[1]);
    Put(dir + "fuzz_jam8", "small.jam", Jam8(4, 3));
    Put(dir + "fuzz_jam8", "none.jam", Jam8(2, 0));
    Put(dir + "fuzz_jam16", "folded.jam", Jam16Body(3, true));
    Put(dir + "fuzz_jam16", "normalised.jam", Jam16Body(2, false));
    for (int depth : {8, 24, 32}) {
        Image image(5, 3, depth);
        for (int i = 0; i < 15; ++i)
            image.pixels()[static_cast<std::size_t>(i)] = MakePixel(i * 10, 0, 255 - i);
        if (depth == 8)
            image.setColorTable(std::vector<Pixel>(image.pixels().begin(), image.pixels().end()));
        Put(dir + "fuzz_bmp", "p" + std::to_string(depth) + ".bmp", EncodeBmp(image));
    }
    std::array<Pixel, 256> colours{};
    for (int i = 0; i < 256; ++i)
        colours[static_cast<std::size_t>(i)] = MakePixel(i, i / 2, 255 - i);
    std::string text = FormatPalette(Palette(colours));
    Put(dir + "fuzz_palette", "GP3 Palette.pal", std::vector<std::uint8_t>(text.begin(), text.end()));
    return 0;
}
