#include "formats/ArtBankPictures.h"

#include "formats/ArtBankFile.h"
#include "formats/ArtEntryCodec.h"
#include "formats/Bmp.h"
#include "formats/Pictures.h"

#include <algorithm>
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

std::vector<std::uint8_t> EncodeArtPictureBmp(const ArtPicture& picture)
{
    const int w = static_cast<int>(picture.width), h = static_cast<int>(picture.height);
    std::vector<std::uint8_t> bytes = BmpHeaders(w, h, 24);
    const std::size_t pixelOffset = bytes.size(), stride = BmpRowStride(w, 24);
    bytes.resize(pixelOffset + stride * picture.height, 0);
    // The key word's channels times 8 are the key colour itself (248, 0, 248).
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        std::uint8_t* out = bytes.data() + pixelOffset + (picture.height - 1 - y) * stride;
        const ArtWord* row = picture.words.data() + static_cast<std::size_t>(y) * picture.width;
        for (std::uint32_t x = 0; x < picture.width; ++x) {
            const ArtWord word = row[x];
            *out++ = static_cast<std::uint8_t>(ArtBlue(word));
            *out++ = static_cast<std::uint8_t>(ArtGreen(word));
            *out++ = static_cast<std::uint8_t>(ArtRed(word));
        }
    }
    return bytes;
}

ArtPicture ArtPictureFromImage(const Image& image)
{
    ArtPicture picture(static_cast<std::uint32_t>(image.width()), static_cast<std::uint32_t>(image.height()));
    // Both hold their pixels row by row from the top, so one pass over the
    // two arrays does (track pictures are converted by the hundred).
    const std::vector<Pixel>& pixels = image.pixels();
    const std::size_t count = std::min(pixels.size(), picture.words.size());
    for (std::size_t i = 0; i < count; ++i) {
        // ArtWordFromRgb without branches: the five upper bits of each
        // channel, and a colour that would turn into the key word one blue
        // step lower unless it is exactly the key colour.
        const Pixel p = pixels[i];
        auto word = static_cast<ArtWord>(((p >> 9) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 3) & 0x001F));
        word = static_cast<ArtWord>(word - ((word == kArtKeyWord) & ((p & 0xFFFFFF) != 0xF800F8)));
        picture.words[i] = word;
    }
    return picture;
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
