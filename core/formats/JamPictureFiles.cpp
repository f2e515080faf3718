#include "formats/JamPictureFiles.h"

#include "formats/Jam16Codec.h" // kJamPageWidth

#include "base/FileUtils.h"
#include "formats/Pictures.h"
#include "formats/Png.h"

#include <algorithm>

namespace pitwall {

namespace {

const std::vector<std::string> kJamPictureExtensions = {".BMP", ".PNG"};
const std::vector<std::string> kReadExtensions = {".BMP", ".PNG", ".JPG", ".JPEG"};
constexpr int kBmp = 0;
constexpr int kHardwareDepthText = 218;
constexpr int kPictureSizeText = 219;

bool AllInPalette(const Image& picture, const Palette& palette)
{
    return std::all_of(picture.pixels().begin(), picture.pixels().end(),
                       [&](Pixel p) { return palette.containsPixel(p); });
}

} // namespace

Image JamPagePicture(const TJAMFile& jam, int height, const std::string& fileName, Dithering dithering,
                     PictureNotes* notes)
{
    const bool bmp = RequireExtension(fileName, kReadExtensions) == kBmp;
    Image picture;
    try {
        picture = LoadPicture(fileName, notes);
    } catch (const std::exception& e) {
        throw PictureUnreadable(fileName, e);
    }
    if (!jam.is8Bit() && bmp && picture.depth() <= 8)
        throw FormatError(kHardwareDepthText, {});
    if (picture.width() != kJamPageWidth || picture.height() != height)
        throw FormatError(kPictureSizeText, Args(height));
    // A picture already in palette colours is taken as it is, dithering or
    // not, so a page saved by this program loads back unchanged.
    if (jam.is8Bit() && !AllInPalette(picture, jam.palette()))
        picture = ReduceToPalette(picture, jam.palette(), dithering);
    return picture;
}

bool LoadJamPage(TJAMFile& jam, const std::string& fileName, Dithering dithering, PictureNotes* notes)
{
    return jam.ReplacePage(JamPagePicture(jam, jam.pageHeight(), fileName, dithering, notes));
}

void SaveJamPage(const TJAMFile& jam, const std::string& fileName)
{
    if (RequireExtension(fileName, kJamPictureExtensions) == kBmp) {
        jam.SaveAsBMP(fileName);
        return;
    }
    Image picture = jam.page();
    if (jam.is8Bit()) {
        picture.setDepth(8);
        picture.setColorTable(jam.palette().table());
    } else {
        picture.setDepth(24);
    }
    SavePngFile(picture, fileName);
}

void SaveJamAs(const TJAMFile& jam, const std::string& fileName)
{
    static const std::vector<std::string> kKinds = {".JAD", ".BMP", ".PNG", ".JAM"};
    switch (RequireExtension(fileName, kKinds)) {
    case 0:
        if (!jam.is8Bit())
            throw FormatError(kUnhandledExtensionText, {});
        jam.SaveUnscrambled(fileName);
        break;
    case 1:
    case 2:
        SaveJamPage(jam, fileName);
        break;
    default:
        jam.SaveToFile(fileName);
        break;
    }
}

} // namespace pitwall
