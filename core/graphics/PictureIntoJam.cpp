#include "graphics/PictureIntoJam.h"

#include "formats/Jam16Codec.h" // kJamPageWidth
#include "formats/JamPictureFiles.h"
#include "transfer/FormatMessages.h"

namespace pitwall {

namespace {

// The picture for `height` rows of JAM pages; a null picture after a
// message.
Image ReadPicture(const TJAMFile& jam, int height, const std::string& fileName, Dithering dithering,
                  Messenger* messenger)
{
    PictureNotes notes;
    Image picture;
    if (!ReportFormatErrors(messenger, [&] { picture = JamPagePicture(jam, height, fileName, dithering, &notes); }))
        return Image();
    ShowPictureNotes(messenger, fileName, notes);
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
