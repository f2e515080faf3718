#pragma once
// Copying a picture between the software (8-bit) and hardware (16-bit)
// variant of the same JAM. Both must be loaded; the caller passes whether
// each side's selection item is loaded.

#include "formats/JamFile.h"

namespace pitwall {

enum class JamCopyDirection { EightToSixteen, SixteenToEight };

struct JamCopySides {
    bool eightBitLoaded = false;
    bool sixteenBitLoaded = false;
};

// The target side must be loaded (else FormatError with UI text 772 when
// copying to the 16-bit JAM, 771 when copying to the 8-bit one); the two JAMs must be of the
// kinds their roles say, with equal image counts and, unless
// allowDifferentHeights, equal page heights; otherwise nothing happens.
// 8 to 16: the top min(h1, h2) rows are copied. 16 to 8: each pixel of those
// rows becomes the nearest game-palette colour, then every image of the
// 8-bit JAM gets its tables rebuilt. True when a copy was made.
bool CopyBetweenKinds(TJAMFile& eightBit, TJAMFile& sixteenBit, JamCopyDirection direction, bool allowDifferentHeights,
                      JamCopySides sides);

} // namespace pitwall
