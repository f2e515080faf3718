#pragma once
// "Load graphic from picture": a picture file into a JAM's page (or into two
// JAMs whose pages are stacked in one picture). BMP, PNG and JPG are taken,
// by the file's extension in any letter case. A picture for an 8-bit JAM may
// hold any colours: colours outside the game palette are reduced to the
// nearest palette colour (optionally with Floyd-Steinberg dithering), so a
// picture painted in true colour is not refused. A 16-bit JAM takes the
// colours of a BMP of 16, 24 or 32 bits or of any PNG or JPG. A PNG with
// transparent pixels is taken with them on black, and that is said once.

#include "formats/JamFile.h"
#include "formats/PaletteReduction.h"

#include <string>

namespace pitwall {

class Messenger;

// False after a message, with every page unchanged: UI text 985 for another
// extension, kPictureUnreadableText for a file that is not a readable
// picture, 218 for a BMP of 8 bits or less for a 16-bit JAM, 219 (with the
// height needed) for a picture that is not 256 pixels wide and as high as
// the page(s).
bool LoadPictureIntoJam(TJAMFile& jam, const std::string& fileName, Dithering dithering, Messenger* messenger);
// The same for two JAMs of one kind stored one above the other in one
// picture: the top JAM's page first.
bool LoadPictureIntoJamPair(TJAMFile& top, TJAMFile& bottom, const std::string& fileName, Dithering dithering,
                            Messenger* messenger);

} // namespace pitwall
