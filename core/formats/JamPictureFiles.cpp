#include "formats/JamPictureFiles.h"

#include "formats/Jam16Codec.h" // kJamPageWidth

#include "app/Messages.h"
#include "formats/Pictures.h"
#include "formats/Png.h"
#include "transfer/FileUtils.h"

namespace pitwall {

namespace {

const std::vector<std::string> kJamPictureExtensions = {".BMP", ".PNG"};
constexpr int kBmp = 0;
constexpr int kPng = 1;

} // namespace

bool LoadJamPage(TJAMFile& jam, const std::string& fileName, Dithering dithering, Messenger* messenger)
{
    const int kind = CheckFileExtension(fileName, kJamPictureExtensions, true, messenger);
    if (kind == kBmp)
        return jam.LoadFromBMP(fileName, messenger);
    if (kind != kPng)
        return false;
    Image picture;
    try {
        picture = LoadPngFile(fileName);
    } catch (const std::exception& e) {
        if (messenger)
            messenger->show(kPictureUnreadableText, Args(fileName, PictureFaultText(e, messenger->texts())));
        return false;
    }
    if (picture.width() != kJamPageWidth || picture.height() != jam.pageHeight()) {
        if (messenger)
            messenger->show(219, Args(jam.pageHeight()));
        return false;
    }
    if (jam.is8Bit())
        picture = ReduceToPalette(picture, jam.palette(), dithering);
    return jam.ReplacePage(picture);
}

bool SaveJamPage(const TJAMFile& jam, const std::string& fileName, Messenger* messenger)
{
    const int kind = CheckFileExtension(fileName, kJamPictureExtensions, true, messenger);
    if (kind == kBmp) {
        jam.SaveAsBMP(fileName);
        return true;
    }
    if (kind != kPng)
        return false;
    Image picture = jam.page();
    if (jam.is8Bit()) {
        picture.setDepth(8);
        picture.setColorTable(jam.palette().table());
    } else {
        picture.setDepth(24);
    }
    SavePngFile(picture, fileName);
    return true;
}

bool SaveJamAs(const TJAMFile& jam, const std::string& fileName, Messenger* messenger)
{
    static const std::vector<std::string> kKinds = {".JAD", ".BMP", ".PNG", ".JAM"};
    switch (CheckFileExtension(fileName, kKinds, true, messenger)) {
    case 0:
        if (!jam.is8Bit()) {
            if (messenger)
                messenger->show(985);
            return false;
        }
        jam.SaveUnscrambled(fileName);
        return true;
    case 1:
    case 2:
        return SaveJamPage(jam, fileName, messenger);
    case 3:
        jam.SaveToFile(fileName);
        return true;
    default:
        return false;
    }
}

} // namespace pitwall
