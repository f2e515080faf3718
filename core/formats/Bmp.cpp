#include "formats/Bmp.h"

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "base/FileUtils.h"
#include "formats/PictureError.h"

#include <algorithm>
#include <bit>
#include <unordered_map>

namespace pitwall {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;

// One colour channel described by a bit mask: where it sits and how to widen
// it to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m) : mask(m)
    {
        if (m != 0) {
            shift = std::countr_zero(m);
            bits = std::popcount(m);
        }
    }
    int extract(std::uint32_t value) const
    {
        if (bits == 0)
            return 0;
        std::uint32_t v = (value & mask) >> shift;
        if (bits >= 8)
            return static_cast<int>(v >> (bits - 8));
        // Narrow channels are widened by shifting, as the JAM's RGB565
        // colours are (5 bits x 8), so such colours survive a round trip.
        return static_cast<int>((v << (8 - bits)) & 0xFF);
    }
};

std::size_t RowStride(int width, int bitsPerPixel)
{
    return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32) * 4;
}

// Run-length coded 4- and 8-bit pixels (what ImageMagick and Windows paint
// programs write by default for palette pictures), expanded into one colour
// index per pixel, rows in file order (bottom row first). The stream is a
// series of byte pairs: a count with an index (RLE4: two indices taking
// turns), or 0 and a command: 0 ends the row, 1 the picture, 2 moves right
// and up by the next two bytes, 3 and more copies that many indices as they
// stand, padded to an even number of bytes. Pixels the stream never reaches
// stay 0, drawn in the table's first colour, as Windows draws them; a stream
// cut short ends the picture where it stops.
std::vector<std::uint8_t> ExpandRle(std::span<const std::uint8_t> data, int width, int height, bool fourBit)
{
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    std::vector<std::uint8_t> indices(w * h, 0);
    std::size_t x = 0, y = 0, at = 0;
    auto put = [&](std::uint8_t index) {
        if (x < w && y < h)
            indices[y * w + x] = index;
        ++x;
    };
    while (at + 1 < data.size() && y < h) {
        const std::uint8_t count = data[at];
        const std::uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i)
                put(fourBit ? static_cast<std::uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
            continue;
        }
        if (value == 0) { // end of row
            x = 0;
            ++y;
        } else if (value == 1) { // end of picture
            break;
        } else if (value == 2) { // delta
            if (at + 1 >= data.size())
                break;
            x += data[at];
            y += data[at + 1];
            at += 2;
        } else { // absolute run
            const std::size_t bytesUsed = fourBit ? (value + 1u) / 2u : value;
            const std::size_t padded = bytesUsed + (bytesUsed % 2);
            if (at + bytesUsed > data.size())
                break;
            for (unsigned i = 0; i < value; ++i) {
                const std::uint8_t b = data[at + (fourBit ? i / 2 : i)];
                put(fourBit ? static_cast<std::uint8_t>(i % 2 == 0 ? b >> 4 : b & 0x0F) : b);
            }
            at += std::min(padded, data.size() - at);
        }
    }
    return indices;
}

} // namespace

std::string PictureSizeProblem(std::int64_t width, std::int64_t height)
{
    if (width <= 0 || height <= 0)
        return "a picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels is empty";
    if (width > kMaxBmpSide || height > kMaxBmpSide || width * height > kMaxPicturePixels)
        return "a picture of " + std::to_string(width) + " x " + std::to_string(height)
            + " pixels is larger than Pitwall reads (at most " + std::to_string(kMaxBmpSide) + " pixels a side and "
            + std::to_string(kMaxPicturePixels) + " in all)";
    return {};
}

bool IsPlainBmp(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    ByteReader r(bytes);
    r.seek(14);
    const std::uint32_t headerSize = r.u32();
    r.skip(4);
    const std::int32_t height = r.i32();
    r.skip(4);
    const std::uint32_t compression = r.u32();
    return headerSize == 40 && height > 0 && compression == kBiRgb;
}

namespace {

// What a BMP's headers say, checked against the file's length before any
// picture-sized memory is taken.
struct BmpLayout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    bool indexed = false;
    bool rle = false;
    std::uint32_t headerSize = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t pixelOffset = 0;
    std::uint32_t masks[3] = {0, 0, 0};
    std::size_t stride = 0;
    std::size_t present = 0; // bytes from the pixel offset to the end
};

BmpLayout ReadBmpLayout(std::span<const std::uint8_t> bytes)
{
    BmpLayout b;
    ByteReader r(bytes);
    if (r.u8() != 'B' || r.u8() != 'M')
        throw PictureError(PictureFault::NotThisKind, "not a BMP file (no \"BM\" at the start)");
    r.skip(8); // file size and reserved words: often wrong in the wild, not needed
    b.pixelOffset = r.u32();
    b.headerSize = r.u32();
    if (b.headerSize < 40)
        throw PictureError(PictureFault::Unsupported,
                           "unsupported BMP header of " + std::to_string(b.headerSize) + " bytes");
    std::int32_t width = r.i32();
    std::int32_t rawHeight = r.i32();
    r.skip(2); // planes
    b.bitsPerPixel = r.u16();
    b.compression = r.u32();
    r.skip(12); // image size, resolution
    b.colorsUsed = r.u32();
    r.skip(4); // important colours

    b.topDown = rawHeight < 0;
    std::int64_t height = b.topDown ? -static_cast<std::int64_t>(rawHeight) : rawHeight;
    if (auto problem = PictureSizeProblem(width, height); !problem.empty())
        throw PictureError(PictureFault::Unsupported,
                           "BMP size " + std::to_string(width) + " x " + std::to_string(height)
                               + " is not supported: " + problem);
    b.width = width;
    b.height = static_cast<int>(height);
    const int h = b.height;
    const std::uint16_t bitsPerPixel = b.bitsPerPixel;
    const std::uint32_t compression = b.compression;

    b.indexed = bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8;
    if (!b.indexed && bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)
        throw PictureError(PictureFault::Unsupported,
                           "BMP with " + std::to_string(bitsPerPixel) + " bits per pixel is not supported");
    b.rle = (compression == kBiRle8 && bitsPerPixel == 8) || (compression == kBiRle4 && bitsPerPixel == 4);
    if (b.rle && b.topDown)
        throw PictureError(PictureFault::Damaged, "a run-length coded BMP cannot be stored top-down");
    if (compression != kBiRgb && !b.rle
        && !(compression == kBiBitfields && (bitsPerPixel == 16 || bitsPerPixel == 32)))
        throw PictureError(PictureFault::Unsupported,
                           "compressed BMP (method " + std::to_string(compression) + ") is not supported");

    // Channel masks: given after the 40-byte header (or inside a larger one)
    // for bit fields, else the fixed 5-5-5 and 8-8-8 layouts.
    if (compression == kBiBitfields) {
        r.seek(14 + 40);
        for (auto& m : b.masks)
            m = r.u32();
    } else if (bitsPerPixel == 16) {
        b.masks[0] = 0x7C00;
        b.masks[1] = 0x03E0;
        b.masks[2] = 0x001F;
    } else {
        b.masks[0] = 0xFF0000;
        b.masks[1] = 0x00FF00;
        b.masks[2] = 0x0000FF;
    }

    // The pixel rows the header claims must be in the file before the
    // picture is made: 54 bytes can claim a picture of a gigabyte. Coded
    // rows have no fixed length (the size limit above bounds them); they need
    // at least their end mark.
    b.stride = RowStride(b.width, bitsPerPixel);
    b.present = b.pixelOffset < bytes.size() ? bytes.size() - b.pixelOffset : 0;
    if (b.rle) {
        if (b.present < 2)
            throw PictureError(PictureFault::Damaged, "BMP run-length data is missing");
    } else if (b.present / b.stride < static_cast<std::size_t>(h))
        throw PictureError(PictureFault::Damaged,
                           "BMP pixel data is short: " + std::to_string(h) + " rows of " + std::to_string(b.stride)
                               + " bytes needed, " + std::to_string(b.present) + " bytes present");
    return b;
}

} // namespace

std::optional<Bmp24Rows> ReadBmp24Rows(std::span<const std::uint8_t> bytes)
{
    const BmpLayout b = ReadBmpLayout(bytes);
    if (b.bitsPerPixel != 24)
        return std::nullopt;
    return Bmp24Rows{b.width, b.height, b.topDown, b.stride,
                     bytes.subspan(b.pixelOffset, b.stride * static_cast<std::size_t>(b.height))};
}

Image DecodeBmp(std::span<const std::uint8_t> bytes)
{
    const BmpLayout layout = ReadBmpLayout(bytes);
    const int w = layout.width;
    const int h = layout.height;
    const bool topDown = layout.topDown;
    const std::uint16_t bitsPerPixel = layout.bitsPerPixel;
    const std::uint32_t compression = layout.compression;
    const bool indexed = layout.indexed;
    const bool rle = layout.rle;
    const std::size_t stride = layout.stride;
    const std::size_t present = layout.present;
    Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
    ByteReader r(bytes);

    Image image(w, h, bitsPerPixel);
    std::vector<Pixel> table;
    if (indexed) {
        std::uint32_t entries = layout.colorsUsed == 0 ? (1u << bitsPerPixel) : layout.colorsUsed;
        if (entries > 256)
            throw PictureError(PictureFault::Damaged, "BMP colour table of " + std::to_string(entries) + " entries");
        std::size_t tableAt = 14 + static_cast<std::size_t>(layout.headerSize);
        if (compression == kBiBitfields)
            tableAt += 12;
        r.seek(tableAt);
        for (std::uint32_t i = 0; i < entries; ++i) {
            auto e = r.bytes(4);
            table.push_back(MakePixel(e[2], e[1], e[0]));
        }
        image.setColorTable(table);
    }

    r.seek(layout.pixelOffset);
    if (rle) {
        const auto indices = ExpandRle(r.bytes(present), w, h, compression == kBiRle4);
        for (int fileRow = 0; fileRow < h; ++fileRow) {
            auto out = image.row(h - 1 - fileRow);
            for (int x = 0; x < w; ++x) {
                const unsigned index = indices[static_cast<std::size_t>(fileRow) * static_cast<std::size_t>(w)
                                               + static_cast<std::size_t>(x)];
                out[static_cast<std::size_t>(x)] = index < table.size() ? table[index] : 0;
            }
        }
        return image;
    }
    auto data = r.bytes(stride * static_cast<std::size_t>(h));

    for (int fileRow = 0; fileRow < h; ++fileRow) {
        int y = topDown ? fileRow : h - 1 - fileRow;
        auto row = data.subspan(static_cast<std::size_t>(fileRow) * stride, stride);
        auto out = image.row(y);
        if (bitsPerPixel == 24) {
            // The usual kind (track pictures, team sheets) in a loop of its own.
            for (std::size_t x = 0; x < static_cast<std::size_t>(w); ++x)
                out[x] = MakePixel(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
            continue;
        }
        for (int x = 0; x < w; ++x) {
            const auto ux = static_cast<std::size_t>(x);
            Pixel p = 0;
            if (indexed) {
                unsigned index = 0;
                if (bitsPerPixel == 8)
                    index = row[ux];
                else if (bitsPerPixel == 4)
                    index = (row[ux / 2] >> ((1 - ux % 2) * 4)) & 0x0F;
                else
                    index = (row[ux / 8] >> (7 - ux % 8)) & 0x01;
                // An index beyond the table shows as black, as Windows draws it.
                p = index < table.size() ? table[index] : 0;
            } else if (bitsPerPixel == 24) {
                p = MakePixel(row[ux * 3 + 2], row[ux * 3 + 1], row[ux * 3]);
            } else {
                std::uint32_t v = 0;
                if (bitsPerPixel == 16)
                    v = static_cast<std::uint32_t>(row[ux * 2] | (row[ux * 2 + 1] << 8));
                else
                    v = static_cast<std::uint32_t>(row[ux * 4]) | (static_cast<std::uint32_t>(row[ux * 4 + 1]) << 8)
                        | (static_cast<std::uint32_t>(row[ux * 4 + 2]) << 16)
                        | (static_cast<std::uint32_t>(row[ux * 4 + 3]) << 24);
                p = MakePixel(red.extract(v), green.extract(v), blue.extract(v));
            }
            out[ux] = p;
        }
    }
    return image;
}

Image LoadBmpFile(const std::string& fileName)
{
    auto bytes = ReadBmpFileBytes(fileName);
    try {
        return DecodeBmp(bytes);
    } catch (...) {
        RethrowNamingBmpFile(fileName);
    }
}

std::vector<std::uint8_t> ReadBmpFileBytes(const std::string& fileName)
{
    return ReadWholeFile(fileName, 512u * 1024 * 1024);
}

void RethrowNamingBmpFile(const std::string& fileName)
{
    try {
        throw;
    } catch (const PictureError& e) {
        throw PictureError(e.fault(), fileName + ": " + e.what());
    } catch (const FormatError& e) {
        throw FormatError(fileName + ": " + e.what());
    }
}

std::size_t BmpRowStride(int width, int bits) { return RowStride(width, bits); }

std::vector<std::uint8_t> BmpHeaders(int width, int height, int bits, std::uint32_t colourTableBytes)
{
    const std::uint32_t pixelOffset = 14 + 40 + colourTableBytes;
    const std::size_t imageSize = RowStride(width, bits) * static_cast<std::size_t>(height);
    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(static_cast<std::uint32_t>(pixelOffset + imageSize));
    out.u16(0);
    out.u16(0);
    out.u32(pixelOffset);
    out.u32(40);
    out.i32(width);
    out.i32(height); // positive: rows bottom-up
    out.u16(1);
    out.u16(static_cast<std::uint16_t>(bits));
    out.u32(kBiRgb);
    out.u32(static_cast<std::uint32_t>(imageSize));
    out.zeros(16); // resolution, colours used, important colours
    return out.take();
}

std::vector<std::uint8_t> EncodeBmp(const Image& image)
{
    const int bits = image.depth() <= 8 ? 8 : (image.depth() == 32 ? 32 : 24);
    const int w = image.width();
    const int h = image.height();
    const std::size_t stride = RowStride(w, bits);
    const std::uint32_t tableBytes = bits == 8 ? 1024 : 0;
    const std::uint32_t pixelOffset = 14 + 40 + tableBytes;
    const std::size_t imageSize = stride * static_cast<std::size_t>(h);

    std::vector<std::uint8_t> bytes = BmpHeaders(w, h, bits, tableBytes);
    bytes.reserve(pixelOffset + imageSize);
    if (bits == 8) {
        const auto& table = image.colorTable();
        for (std::size_t i = 0; i < 256; ++i) {
            Pixel p = i < table.size() ? table[i] : 0;
            bytes.insert(bytes.end(),
                         {static_cast<std::uint8_t>(BlueOf(p)), static_cast<std::uint8_t>(GreenOf(p)),
                          static_cast<std::uint8_t>(RedOf(p)), 0});
        }
    }
    bytes.resize(pixelOffset + imageSize, 0);

    // First equal table entry per colour, else 0 (the JAM export's rule).
    std::unordered_map<Pixel, std::uint8_t> indexOf;
    if (bits == 8) {
        const auto& table = image.colorTable();
        for (std::size_t i = std::min<std::size_t>(table.size(), 256); i-- > 0;)
            indexOf[table[i]] = static_cast<std::uint8_t>(i);
    }
    for (int y = 0; y < h; ++y) {
        std::size_t at = pixelOffset + static_cast<std::size_t>(h - 1 - y) * stride;
        auto row = image.row(y);
        if (bits == 8) {
            Pixel last = 0;
            std::uint8_t lastIndex = 0;
            bool haveLast = false;
            for (Pixel p : row) {
                if (!haveLast || p != last) {
                    auto it = indexOf.find(p);
                    lastIndex = it == indexOf.end() ? 0 : it->second;
                    last = p;
                    haveLast = true;
                }
                bytes[at++] = lastIndex;
            }
        } else {
            for (Pixel p : row) {
                bytes[at++] = static_cast<std::uint8_t>(BlueOf(p));
                bytes[at++] = static_cast<std::uint8_t>(GreenOf(p));
                bytes[at++] = static_cast<std::uint8_t>(RedOf(p));
                if (bits == 32)
                    bytes[at++] = 0;
            }
        }
    }
    return bytes;
}

void SaveBmpFile(const Image& image, const std::string& fileName) { WriteWholeFile(fileName, EncodeBmp(image)); }

} // namespace pitwall
