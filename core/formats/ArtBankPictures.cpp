#include "formats/ArtBankPictures.h"

#include "formats/ArtBankFile.h"
#include "formats/ArtEntryCodec.h"
#include "formats/Bmp.h"
#include "formats/Pictures.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>

namespace pitwall {

Image ArtPictureToImage(const ArtPicture& picture)
{
    Image image(static_cast<int>(picture.width), static_cast<int>(picture.height), 24);
    for (std::uint32_t y = 0; y < picture.height; ++y)
        for (std::uint32_t x = 0; x < picture.width; ++x) {
            const ArtWord w = picture.at(x, y);
            image.setPixel(static_cast<int>(x), static_cast<int>(y),
                           w == kArtKeyWord ? kColorKey : MakePixel(ArtRed(w), ArtGreen(w), ArtBlue(w)));
        }
    return image;
}

namespace {

// Every picture word (bit 15 aside) as the three bytes of a 24-bit BMP pixel,
// blue lowest: a look-up is cheaper than taking the channels apart for the
// 67 million pixels a complete carset's pictures hold.
constexpr std::array<std::uint32_t, 0x8000> kBgrOfWord = [] {
    std::array<std::uint32_t, 0x8000> table{};
    for (std::uint32_t w = 0; w < table.size(); ++w) {
        const auto word = static_cast<ArtWord>(w);
        table[w] = static_cast<std::uint32_t>(ArtBlue(word)) | static_cast<std::uint32_t>(ArtGreen(word)) << 8
                   | static_cast<std::uint32_t>(ArtRed(word)) << 16;
    }
    return table;
}();

std::uint32_t Bgr(ArtWord w) { return kBgrOfWord[w & 0x7FFF]; }

// The low `count` bytes of `value`, lowest first.
void PutLittleEndian(std::uint8_t* out, std::uint64_t value, int count)
{
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &value, static_cast<std::size_t>(count));
    } else {
        for (int i = 0; i < count; ++i)
            out[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

} // namespace

std::vector<std::uint8_t> EncodeArtPictureBmp(const ArtPicture& picture)
{
    const int w = static_cast<int>(picture.width), h = static_cast<int>(picture.height);
    std::vector<std::uint8_t> bytes = BmpHeaders(w, h, 24);
    const std::size_t pixelOffset = bytes.size(), stride = BmpRowStride(w, 24);
    bytes.resize(pixelOffset + stride * picture.height, 0);
    // The key word's channels times 8 are the key colour itself (248, 0, 248).
    // Four pixels (12 bytes: blue, green, red each) are packed into one 64-
    // and one 32-bit store; the rest of a row goes pixel by pixel.
    const std::uint32_t width = picture.width, height = picture.height;
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint8_t* out = bytes.data() + pixelOffset + static_cast<std::size_t>(height - 1 - y) * stride;
        const ArtWord* row = picture.words.data() + static_cast<std::size_t>(y) * width;
        std::uint32_t x = 0;
        for (; x + 4 <= width; x += 4, out += 12) {
            const std::uint64_t p0 = Bgr(row[x]), p1 = Bgr(row[x + 1]), p2 = Bgr(row[x + 2]), p3 = Bgr(row[x + 3]);
            PutLittleEndian(out, p0 | p1 << 24 | p2 << 48, 8);
            PutLittleEndian(out + 8, p2 >> 16 | p3 << 8, 4);
        }
        for (; x < width; ++x, out += 3)
            PutLittleEndian(out, Bgr(row[x]), 3);
    }
    return bytes;
}

namespace {

// ArtWordFromRgb without branches (track pictures are converted by the
// hundred): the five upper bits of each channel, and a colour that would
// turn into the key word one blue step lower unless it is exactly the key
// colour.
ArtWord ArtWordOfPixel(Pixel p)
{
    auto word = static_cast<ArtWord>(((p >> 9) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 3) & 0x001F));
    return static_cast<ArtWord>(word - ((word == kArtKeyWord) & ((p & 0xFFFFFF) != 0xF800F8)));
}

} // namespace

ArtPicture ArtPictureFromImage(const Image& image)
{
    ArtPicture picture(static_cast<std::uint32_t>(image.width()), static_cast<std::uint32_t>(image.height()));
    // Both hold their pixels row by row from the top, so one pass over the
    // two arrays does.
    const std::vector<Pixel>& pixels = image.pixels();
    const std::size_t count = std::min(pixels.size(), picture.words.size());
    for (std::size_t i = 0; i < count; ++i)
        picture.words[i] = ArtWordOfPixel(pixels[i]);
    return picture;
}

ArtPicture ArtPictureFromBmp(std::span<const std::uint8_t> bytes)
{
    const std::optional<Bmp24Rows> rows = ReadBmp24Rows(bytes);
    if (!rows)
        return ArtPictureFromImage(DecodeBmp(bytes));
    ArtPicture picture(static_cast<std::uint32_t>(rows->width), static_cast<std::uint32_t>(rows->height));
    const auto width = static_cast<std::size_t>(rows->width);
    for (int y = 0; y < rows->height; ++y) {
        const std::span<const std::uint8_t> in = rows->row(y);
        ArtWord* out = picture.words.data() + static_cast<std::size_t>(y) * width;
        for (std::size_t x = 0; x < width; ++x)
            out[x] = ArtWordOfPixel(MakePixel(in[x * 3 + 2], in[x * 3 + 1], in[x * 3]));
    }
    return picture;
}

ArtPicture LoadBmpFileAsArtPicture(const std::string& fileName)
{
    const std::vector<std::uint8_t> bytes = ReadBmpFileBytes(fileName);
    try {
        return ArtPictureFromBmp(bytes);
    } catch (...) {
        RethrowNamingBmpFile(fileName);
    }
}

bool ExportArtImage(const std::string& bankFile, std::size_t entry, const std::string& fileName)
{
    ArtPicture picture;
    if (!ReadArtImage(bankFile, entry, picture))
        return false;
    SavePictureOrPng(ArtPictureToImage(picture), fileName);
    return true;
}

std::optional<ArtPicture> ArtPictureForEntry(const ArtDirectory& directory, std::size_t entry,
                                             const std::string& fileName, PictureNotes* notes)
{
    if (entry >= directory.entries.size())
        return std::nullopt;
    const ArtEntry& e = directory.entries[entry];
    Image image = LoadPicture(fileName, notes);
    if (image.isNull())
        return std::nullopt;
    if (static_cast<std::uint32_t>(image.width()) != e.width || static_cast<std::uint32_t>(image.height()) != e.height)
        throw FormatError(737, Args(e.width, e.height));
    return ArtPictureFromImage(image);
}

bool ImportArtPicture(const std::string& bankFile, const ArtDirectory& directory, std::size_t entry,
                      const std::string& fileName, PictureNotes* notes)
{
    auto picture = ArtPictureForEntry(directory, entry, fileName, notes);
    if (!picture)
        return false;
    WriteArtImage(bankFile, directory.entries[entry], entry, *picture);
    return true;
}

bool ImportArtPicture(std::vector<std::uint8_t>& bank, const ArtDirectory& directory, std::size_t entry,
                      const std::string& fileName, PictureNotes* notes)
{
    auto picture = ArtPictureForEntry(directory, entry, fileName, notes);
    if (!picture)
        return false;
    // A picture the entry shows already keeps the bytes it is stored as.
    const ArtEntry& e = directory.entries[entry];
    if (e.dataOffset <= bank.size() && e.reservedSize <= bank.size() - e.dataOffset) {
        const std::span<const std::uint8_t> stored(bank.data() + e.dataOffset, e.reservedSize);
        if (DecodeArtEntry(stored, e.width, e.height, UsesSingleWordKeys(entry)) == *picture)
            return true;
    }
    WriteArtImage(bank, e, entry, *picture);
    return true;
}

} // namespace pitwall
