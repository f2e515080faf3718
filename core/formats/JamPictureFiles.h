#pragma once
// A JAM page in picture files of either kind: BMP as the game's tools use
// it, and PNG, which paint programs save without losing colours. A PNG for
// an 8-bit JAM may hold any colours: they are reduced to the game palette.

#include "formats/JamFile.h"
#include "formats/PaletteReduction.h"

#include <string>

namespace pitwall {

// By extension, any letter case. .BMP: as TJAMFile::LoadFromBMP. .PNG: a
// picture of 256 x page height (else UI text 219 with the page height); an
// 8-bit JAM takes it reduced to the game palette with the given dithering, a
// 16-bit JAM takes its colours. A PNG that cannot be read shows UI text 1077
// with the reason. Another extension UI text 985. Each throws FormatError,
// with the page unchanged. False (page unchanged) when the page was not
// replaced for another reason.
bool LoadJamPage(TJAMFile& jam, const std::string& fileName, Dithering dithering);

// .BMP: as TJAMFile::SaveAsBMP. .PNG: an 8-bit JAM as a palette PNG with the
// game palette, a 16-bit JAM as an RGB PNG. Another extension throws
// FormatError with UI text 985 and writes nothing. A failed write throws.
void SaveJamPage(const TJAMFile& jam, const std::string& fileName);

// The workshop's "save to file", by extension: .JAD the JAM as it is in
// memory without scrambling (8-bit JAMs only: a 16-bit JAM gives UI text 985),
// .BMP and .PNG as SaveJamPage, .JAM the JAM itself. Every file is replaced
// as a whole through a temporary file, so a JAM saved over the file it was
// opened from is never left half written. Another extension: UI text 985.
// UI texts come as FormatError; a failed write throws.
void SaveJamAs(const TJAMFile& jam, const std::string& fileName);

} // namespace pitwall
