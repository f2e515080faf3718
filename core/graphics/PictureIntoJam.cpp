#include "graphics/PictureIntoJam.h"

#include "base/FileUtils.h"
#include "base/Messages.h"
#include "formats/Bmp.h"
#include "formats/Jam16Codec.h" // kJamPageWidth
#include "formats/Pictures.h"   // kPictureUnreadableText
#include "formats/Png.h"
#include "transfer/FormatMessages.h"

#include <algorithm>

namespace pitwall {

namespace {

const std::vector<std::string> kPictureExtensions = {".BMP", ".PNG"};
constexpr int kBmp = 0;
constexpr int kHardwareDepthText = 218;
constexpr int kPictureSizeText = 219;

bool AllInPalette(const Image& picture, const Palette& palette)
{
    return std::all_of(picture.pixels().begin(), picture.pixels().end(),
                       [&](Pixel p) { return palette.containsPixel(p); });
}

// The picture for `height` rows of JAM pages, read, checked and, for 8-bit
// JAMs, in palette colours only; a null picture after a message.
Image ReadPicture(const TJAMFile& jam, int height, const std::string& fileName, Dithering dithering,
                  Messenger* messenger)
{
    const int kind = CheckFileExtension(fileName, kPictureExtensions, true, messenger);
    if (kind < 0)
        return Image();
    Image picture;
    try {
        picture = kind == kBmp ? LoadBmpFile(fileName) : LoadPngFile(fileName);
    } catch (const std::exception& e) {
        if (messenger)
            ShowFormatError(*messenger, PictureUnreadable(fileName, e));
        return Image();
    }
    if (!jam.is8Bit() && kind == kBmp && picture.depth() <= 8) {
        if (messenger)
            messenger->show(kHardwareDepthText);
        return Image();
    }
    if (picture.width() != kJamPageWidth || picture.height() != height) {
        if (messenger)
            messenger->show(kPictureSizeText, Args(height));
        return Image();
    }
    // A picture already in palette colours is taken as it is, dithering or
    // not, so a page saved by this program loads back unchanged.
    if (jam.is8Bit() && !AllInPalette(picture, jam.palette()))
        picture = ReduceToPalette(picture, jam.palette(), dithering);
    return picture;
}

} // namespace

bool LoadPictureIntoJam(TJAMFile& jam, const std::string& fileName, Dithering dithering, Messenger* messenger)
{
    const Image picture = ReadPicture(jam, jam.pageHeight(), fileName, dithering, messenger);
    return !picture.isNull() && jam.ReplacePage(picture);
}

bool LoadPictureIntoJamPair(TJAMFile& top, TJAMFile& bottom, const std::string& fileName, Dithering dithering,
                            Messenger* messenger)
{
    const int split = top.pageHeight();
    const Image picture = ReadPicture(top, split + bottom.pageHeight(), fileName, dithering, messenger);
    if (picture.isNull())
        return false;
    const Image upper = picture.copy(Rect{0, 0, kJamPageWidth, split});
    const Image lower = picture.copy(Rect{0, split, kJamPageWidth, picture.height()});
    return top.ReplacePage(upper) && bottom.ReplacePage(lower);
}

} // namespace pitwall
