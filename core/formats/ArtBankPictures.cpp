#include "formats/ArtBankPictures.h"

#include "formats/ArtBankFile.h"
#include "formats/Pictures.h"

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

ArtPicture ArtPictureFromImage(const Image& image)
{
    ArtPicture picture(static_cast<std::uint32_t>(image.width()), static_cast<std::uint32_t>(image.height()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const Pixel p = image.pixel(x, y);
            picture.at(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)) =
                ArtWordFromRgb(RedOf(p), GreenOf(p), BlueOf(p));
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
    WriteArtImage(bank, directory.entries[entry], entry, *picture);
    return true;
}

} // namespace pitwall
