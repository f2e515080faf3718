#pragma once
// A JAM page in picture files: saved as BMP (as the game's tools use it) or
// PNG, taken from BMP, PNG or JPG. A picture for an 8-bit JAM may hold any
// colours: they are reduced to the game palette.

#include "formats/JamFile.h"
#include "formats/PaletteReduction.h"
#include "formats/Pictures.h"

#include <string>

namespace pitwall {

// The picture file (.BMP, .PNG, .JPG or .JPEG, any letter case, as by
// LoadPicture) for `height` rows of the JAM's page(s): 256 pixels wide and
// `height` high (else UI text 219 with the height). For an 8-bit JAM a
// picture of any depth whose colours are not all in the game palette is
// reduced to it with the given dithering; one in palette colours is taken
// as it is. A 16-bit JAM refuses a BMP of 8 bits or less (UI text 218) and
// takes the colours of any other picture. A file that cannot be read gives
// UI text 1077 with the reason, another extension UI text 985. Each throws
// FormatError.
Image JamPagePicture(const TJAMFile& jam, int height, const std::string& fileName, Dithering dithering,
                     PictureNotes* notes = nullptr);
// That picture as the JAM's page; the page is unchanged when it throws.
// False (page unchanged) when the page was not replaced for another reason.
bool LoadJamPage(TJAMFile& jam, const std::string& fileName, Dithering dithering, PictureNotes* notes = nullptr);

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
