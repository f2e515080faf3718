#pragma once
// "Grafik aus BMP laden": a picture file into a JAM's page. For now the
// picture is a BMP as TJAMFile::LoadFromBMP takes it (8 bits for an 8-bit
// JAM, 16 to 32 for a 16-bit one, the page's size); other picture formats
// and the reduction of true-colour pictures to the game palette come in
// through this one function.

#include "formats/JamFile.h"

#include <string>

namespace pitwall {

class Messenger;

// False after a message; the page is then unchanged.
bool LoadPictureIntoJam(TJAMFile& jam, const std::string& fileName, Messenger* messenger);
// The same for two JAMs stored one above the other in one picture.
bool LoadPictureIntoJamPair(TJAMFile& top, TJAMFile& bottom, const std::string& fileName, Messenger* messenger);

} // namespace pitwall
