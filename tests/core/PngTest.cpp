// PNG reading and writing. The files read here are put together byte by byte
// in the test (chunks, CRCs, a zlib stream of stored blocks), independent of
// libpng's writer.

#include "MemoryLimit.h"
#include "TestSupport.h"

#include "formats/Bmp.h"
#include "formats/Png.h"

#include <gtest/gtest.h>

#include <string>
#include <zlib.h>

using namespace pitwall;

namespace {

std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes, std::size_t from)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

void Big32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(std::vector<std::uint8_t>& png, const std::string& type, const std::vector<std::uint8_t>& data)
{
    Big32(png, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> typed(type.begin(), type.end());
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    Big32(png, Crc32(typed, 0));
}

// A zlib stream holding `raw` in stored (uncompressed) deflate blocks.
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& raw)
{
    std::vector<std::uint8_t> z = {0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - at, 65535);
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(n));
        z.push_back(static_cast<std::uint8_t>(n >> 8));
        z.push_back(static_cast<std::uint8_t>(~n));
        z.push_back(static_cast<std::uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    Big32(z, (b << 16) | a);
    return z;
}

// `scanlines` are the filtered rows as stored (filter byte 0 first).
std::vector<std::uint8_t> HandPng(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType,
                                  const std::vector<std::uint8_t>& scanlines, bool interlaced = false,
                                  const std::vector<std::uint8_t>& plte = {},
                                  const std::vector<std::uint8_t>& trns = {})
{
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    Big32(ihdr, width);
    Big32(ihdr, height);
    ihdr.insert(ihdr.end(),
                {static_cast<std::uint8_t>(bitDepth), static_cast<std::uint8_t>(colourType), 0, 0,
                 static_cast<std::uint8_t>(interlaced ? 1 : 0)});
    Chunk(png, "IHDR", ihdr);
    if (!plte.empty())
        Chunk(png, "PLTE", plte);
    if (!trns.empty())
        Chunk(png, "tRNS", trns);
    Chunk(png, "IDAT", StoredZlib(scanlines));
    Chunk(png, "IEND", {});
    return png;
}

// A 1-bit grey picture of zeros with its rows really deflated: a few tens
// of kilobytes for 16384 x 16384, every row present.
std::vector<std::uint8_t> ZeroPng(std::uint32_t width, std::uint32_t height, bool interlaced)
{
    std::vector<std::uint8_t> rows(static_cast<std::size_t>((width + 7) / 8 + 1) * height, 0);
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<std::uint8_t> packed(packedSize);
    EXPECT_EQ(compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()), 9), Z_OK);
    packed.resize(packedSize);
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    Big32(ihdr, width);
    Big32(ihdr, height);
    ihdr.insert(ihdr.end(), {1, 0, 0, 0, static_cast<std::uint8_t>(interlaced ? 1 : 0)});
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", packed);
    Chunk(png, "IEND", {});
    return png;
}

Image Varied(int w, int h, int depth)
{
    Image image(w, h, depth);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, MakePixel(x * 37 + y, y * 11 + 3, (x ^ y) * 5));
    return image;
}

} // namespace

TEST(Png, ReadsEveryKindOfStoredPixel)
{
    // 3 x 1 RGB, 8 bits.
    Image rgb = DecodePng(HandPng(3, 1, 8, 2, {0, 10, 20, 30, 40, 50, 60, 250, 251, 252}));
    EXPECT_EQ(rgb.depth(), 24);
    EXPECT_EQ(rgb.pixels(),
              (std::vector<Pixel>{MakePixel(10, 20, 30), MakePixel(40, 50, 60), MakePixel(250, 251, 252)}));

    // 2 x 2 grey at 1 bit per pixel: each row one byte, high bits first.
    Image grey = DecodePng(HandPng(2, 2, 1, 0, {0, 0x80, 0, 0x40}));
    EXPECT_EQ(grey.pixels(), (std::vector<Pixel>{MakePixel(255, 255, 255), 0, 0, MakePixel(255, 255, 255)}));

    // 1 x 1 RGBA at 16 bits, opaque: the high bytes count.
    Image deep = DecodePng(HandPng(1, 1, 16, 6, {0, 0x12, 0x99, 0x34, 0x99, 0x56, 0x99, 0xFF, 0x00}));
    EXPECT_EQ(deep.pixel(0, 0), MakePixel(0x12, 0x34, 0x56));

    // Palette at 4 bits: an 8-bit picture with the file's colour table.
    Image indexed = DecodePng(HandPng(2, 1, 4, 3, {0, 0x10}, false, {1, 2, 3, 200, 100, 50}));
    EXPECT_EQ(indexed.depth(), 8);
    EXPECT_EQ(indexed.colorTable(), (std::vector<Pixel>{MakePixel(1, 2, 3), MakePixel(200, 100, 50)}));
    EXPECT_EQ(indexed.pixels(), (std::vector<Pixel>{MakePixel(200, 100, 50), MakePixel(1, 2, 3)}));

    // 2 x 2 interlaced grey: pass 1 holds (0,0), pass 6 (1,0), pass 7 row 1.
    Image laced = DecodePng(HandPng(2, 2, 8, 0, {0, 10, 0, 20, 0, 30, 40}, true));
    EXPECT_EQ(laced.pixels(),
              (std::vector<Pixel>{MakePixel(10, 10, 10), MakePixel(20, 20, 20), MakePixel(30, 30, 30),
                                  MakePixel(40, 40, 40)}));
}

TEST(Png, TransparentPixelsArePutOnBlackAndTold)
{
    // RGBA: opaque, half, fully transparent.
    bool transparent = false;
    Image rgba = DecodePng(HandPng(3, 1, 8, 6, {0, 200, 100, 50, 255, 200, 100, 50, 128, 10, 20, 30, 0}), &transparent);
    EXPECT_TRUE(transparent);
    EXPECT_EQ(rgba.depth(), 24);
    EXPECT_EQ(rgba.pixels(), (std::vector<Pixel>{MakePixel(200, 100, 50), MakePixel(100, 50, 25), 0}));

    // Grey with alpha, all of it opaque: nothing to tell.
    Image grey = DecodePng(HandPng(2, 1, 8, 4, {0, 90, 255, 7, 255}), &transparent);
    EXPECT_FALSE(transparent);
    EXPECT_EQ(grey.pixels(), (std::vector<Pixel>{MakePixel(90, 90, 90), MakePixel(7, 7, 7)}));

    // A palette whose first entry is transparent (tRNS): the picture is no
    // longer in its palette and comes out as 24 bits.
    const std::vector<std::uint8_t> plte = {1, 2, 3, 200, 100, 50};
    Image keyed = DecodePng(HandPng(2, 1, 8, 3, {0, 0, 1}, false, plte, {0}), &transparent);
    EXPECT_TRUE(transparent);
    EXPECT_EQ(keyed.depth(), 24);
    EXPECT_EQ(keyed.pixels(), (std::vector<Pixel>{0, MakePixel(200, 100, 50)}));
    // A tRNS chunk that leaves every entry opaque keeps the palette picture.
    Image opaque = DecodePng(HandPng(2, 1, 8, 3, {0, 0, 1}, false, plte, {255, 255}), &transparent);
    EXPECT_FALSE(transparent);
    EXPECT_EQ(opaque.depth(), 8);
    EXPECT_EQ(opaque.pixels(), (std::vector<Pixel>{MakePixel(1, 2, 3), MakePixel(200, 100, 50)}));

    // The colour key of an RGB picture (tRNS) is transparent too.
    Image rgbKey =
        DecodePng(HandPng(2, 1, 8, 2, {0, 9, 9, 9, 40, 50, 60}, false, {}, {0, 9, 0, 9, 0, 9}), &transparent);
    EXPECT_TRUE(transparent);
    EXPECT_EQ(rgbKey.pixels(), (std::vector<Pixel>{0, MakePixel(40, 50, 60)}));
}

TEST(Png, WrittenPicturesReadBackExactly)
{
    Image rgb = Varied(37, 5, 24);
    Image back = DecodePng(EncodePng(rgb));
    EXPECT_EQ(back.depth(), 24);
    EXPECT_EQ(back.pixels(), rgb.pixels());

    // A 32-bit picture is written as RGB too; its colours stay.
    EXPECT_EQ(DecodePng(EncodePng(Varied(4, 4, 32))).pixels(), Varied(4, 4, 32).pixels());

    // 8 bits: a palette PNG whose table is the picture's, padded to 256.
    Image indexed(3, 2, 8, MakePixel(9, 9, 9));
    indexed.setColorTable({MakePixel(1, 1, 1), MakePixel(9, 9, 9), MakePixel(7, 0, 7)});
    indexed.setPixel(2, 1, MakePixel(7, 0, 7));
    Image again = DecodePng(EncodePng(indexed));
    EXPECT_EQ(again.depth(), 8);
    EXPECT_EQ(again.pixels(), indexed.pixels());
    ASSERT_EQ(again.colorTable().size(), 256u);
    EXPECT_EQ(again.colorTable()[2], MakePixel(7, 0, 7));

    EXPECT_THROW(EncodePng(Image()), FormatError);
}

TEST(Png, DamagedAndOversizedFilesAreRefused)
{
    const auto good = HandPng(3, 1, 8, 2, {0, 10, 20, 30, 40, 50, 60, 250, 251, 252});
    EXPECT_THROW(DecodePng({}), FormatError);
    EXPECT_THROW(DecodePng(std::vector<std::uint8_t>{'B', 'M', 0, 0}), FormatError);
    // Cut anywhere before the last pixel byte (the end of the stream after it
    // is not needed): every prefix is refused, never read past its end.
    for (std::size_t n = 0; n + 20 < good.size(); ++n)
        EXPECT_THROW(DecodePng(std::span(good.data(), n)), FormatError) << n;
    // A damaged chunk checksum.
    auto broken = good;
    broken[20] ^= 1;
    EXPECT_THROW(DecodePng(broken), FormatError);
    // Rows that stop short of the claimed height.
    EXPECT_THROW(DecodePng(HandPng(3, 2, 8, 2, {0, 10, 20, 30, 40, 50, 60, 250, 251, 252})), FormatError);

    // A side beyond the limit, and a huge picture claimed by a few bytes:
    // both refused before the picture's memory is taken.
    EXPECT_THROW(DecodePng(HandPng(kMaxBmpSide + 1, 1, 8, 0, {0})), FormatError);
    try {
        DecodePng(HandPng(4096, 4096, 8, 2, {0, 1, 2, 3}));
        FAIL() << "a 4096 x 4096 picture in a few bytes was read";
    } catch (const FormatError& e) {
        EXPECT_NE(std::string(e.what()).find("too short"), std::string::npos) << e.what();
    }
}

TEST(Png, FilesAreNamedInTheirErrors)
{
    test::TempDir dir;
    test::WriteBytes(dir / "bad.png", {1, 2, 3});
    try {
        LoadPngFile(dir / "bad.png");
        FAIL();
    } catch (const FormatError& e) {
        EXPECT_NE(std::string(e.what()).find("bad.png"), std::string::npos);
    }
    SavePngFile(Varied(5, 6, 24), dir / "ok.png");
    EXPECT_EQ(LoadPngFile(dir / "ok.png").pixels(), Varied(5, 6, 24).pixels());
}

TEST(Png, PicturesBeyondTheCapAreRefusedBeforeTheirMemoryIsTaken)
{
    // About 33 KB holding every row of a 16384 x 16384 picture: decoded it
    // would take gigabytes. Interlaced, the whole picture is taken at once.
    for (bool interlaced : {false, true}) {
        const auto bomb = ZeroPng(kMaxBmpSide, kMaxBmpSide, interlaced);
        EXPECT_LT(bomb.size(), 100'000u);
        EXPECT_TRUE(test::PassesWithinMemory(500u << 20, [&] {
            try {
                DecodePng(bomb);
            } catch (const FormatError& e) {
                return std::string(e.what()).find("16384 x 16384 pixels is not supported") != std::string::npos;
            }
            return false;
        })) << interlaced;
    }
    // Within a side's limit, but more pixels in all than any picture read.
    EXPECT_THROW(DecodePng(ZeroPng(kMaxBmpSide, 1025, false)), FormatError);
    // At the cap the picture is read.
    const Image atCap = DecodePng(ZeroPng(kMaxBmpSide, 1024, false));
    EXPECT_EQ(atCap.width(), kMaxBmpSide);
    EXPECT_EQ(atCap.height(), 1024);
}
