#include "formats/JamCopy.h"

#include "base/FormatError.h"

#include <algorithm>

namespace pitwall {

bool CopyBetweenKinds(TJAMFile& eightBit, TJAMFile& sixteenBit, JamCopyDirection direction, bool allowDifferentHeights,
                      JamCopySides sides)
{
    const bool toSixteen = direction == JamCopyDirection::EightToSixteen;
    if (toSixteen ? !sides.sixteenBitLoaded : !sides.eightBitLoaded)
        throw FormatError(toSixteen ? 772 : 771, {});
    if (!eightBit.is8Bit() || sixteenBit.is8Bit() || eightBit.imageCount() != sixteenBit.imageCount())
        return false;
    if (!allowDifferentHeights && eightBit.pageHeight() != sixteenBit.pageHeight())
        return false;

    const int rows = std::min(eightBit.pageHeight(), sixteenBit.pageHeight());
    const Rect band{0, 0, 256, rows};
    if (toSixteen) {
        sixteenBit.page().drawRect(eightBit.page(), band, 0, 0);
        return true;
    }
    const Palette& palette = eightBit.palette();
    Image& target = eightBit.page();
    const Image& source = sixteenBit.page();
    Pixel lastSource = 0;
    Pixel lastTarget = palette.pixel(palette.nearestIndexOfPixel(0));
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < 256; ++x) {
            Pixel p = source.pixel(x, y);
            if (p != lastSource) {
                lastSource = p;
                lastTarget = palette.pixel(palette.nearestIndexOfPixel(p));
            }
            target.setPixel(x, y, lastTarget);
        }
    }
    eightBit.BlankOutsideImages();
    for (int i = 0; i < eightBit.imageCount(); ++i)
        eightBit.RebuildTables(i);
    return true;
}

} // namespace pitwall
