#include "formats/JamPictureFiles.h"

#include "formats/Jam16Codec.h" // kJamPageWidth

#include "base/FileUtils.h"
#include "formats/Pictures.h"
#include "formats/Png.h"

namespace pitwall {

namespace {

const std::vector<std::string> kJamPictureExtensions = {".BMP", ".PNG"};
constexpr int kBmp = 0;
constexpr int kPng = 1;

} // namespace

bool LoadJamPage(TJAMFile& jam, const std::string& fileName, Dithering dithering)
{
    if (RequireExtension(fileName, kJamPictureExtensions) == kBmp) {
        jam.LoadFromBMP(fileName);
        return true;
    }
    Image picture;
    try {
        picture = LoadPngFile(fileName);
    } catch (const std::exception& e) {
        throw PictureUnreadable(fileName, e);
    }
    if (picture.width() != kJamPageWidth || picture.height() != jam.pageHeight())
        throw FormatError(219, Args(jam.pageHeight()));
    if (jam.is8Bit())
        picture = ReduceToPalette(picture, jam.palette(), dithering);
    return jam.ReplacePage(picture);
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
