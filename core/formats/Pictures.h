#pragma once
// The picture-file utilities the editors share: loading and saving by
// extension (.BMP and .JPG only, any letter case; other extensions show UI
// text 985 and do nothing), conversion between the two, cropping to a file,
// the colour-keyed copy and the paste-into-a-picture rule.

#include "formats/Image.h"

#include <exception>
#include <string>
#include <vector>

namespace pitwall {

class Messenger;
class UITexts;

// UI text shown when a picture file cannot be read: "%s" the file name, "%s"
// the reason.
inline constexpr int kPictureUnreadableText = 1077;
// The reason that message gives for what a picture load threw, in the
// language of `texts`.
std::string PictureFaultText(const std::exception& error, const UITexts& texts);

// The key colour of colour-keyed copies and of the art bank: magenta
// (red 248, green 0, blue 248).
inline constexpr Pixel kColorKey = MakePixel(248, 0, 248);

// True when the name ends in .JPG, any case.
bool IsJpg(const std::string& fileName);

// A .BMP is read as it is, a .JPG decoded into a 24-bit picture. Another
// extension shows UI text 985 and gives an empty picture. A file that cannot
// be read or decoded throws (std::runtime_error, FormatError).
Image LoadPicture(const std::string& fileName, Messenger* messenger);
// .BMP: saved by its depth; .JPG: JPEG at quality 80 in a new file. Another
// extension shows UI text 985, writes nothing and returns false.
bool SavePicture(const Image& image, const std::string& fileName, Messenger* messenger);
// The same with .PNG as a third kind (read as by DecodePng, saved by the
// picture's depth as EncodePng does), for the workshops and the command
// line's exports.
bool IsPng(const std::string& fileName);
Image LoadPictureOrPng(const std::string& fileName, Messenger* messenger);
bool SavePictureOrPng(const Image& image, const std::string& fileName, Messenger* messenger);
// A .BMP source is copied as it is; a .JPG source is decoded and saved as a
// 24-bit BMP under the target name. Returns false (after UI text 985 for an
// unknown extension) when nothing was written.
bool ImportPictureAsBmp(const std::string& source, const std::string& target, Messenger* messenger);
// Writes the BMP as JPEG at the encoder's default quality 90.
void ConvertBmpToJpg(const std::string& bmpFile, const std::string& jpgFile);

// The rectangle of the picture as a BMP of the picture's depth.
void CropToFile(const Image& image, Rect rect, const std::string& fileName);

// Both pictures become 24-bit; every pixel of `from` that differs from the key
// goes to the target at the same offset from (targetLeft, targetTop). The key
// is the fixed magenta, or else the source pixel at the rectangle's top-left
// corner. Parts outside either picture are skipped.
void ColorKeyedCopy(Image& source, Image& target, Rect from, bool fixedKey, int targetTop, int targetLeft);

// Pastes a picture file over `target` (the editors' "load picture into"):
// the picture must have the target's size, else UI text 737 with the width
// and height and false; a different depth asks UI text 1045 and only Yes goes
// on, converting the picture to the target's depth (8 bits and below: to the
// target's colour table). Unknown extensions show 985. True when pasted.
bool LoadPictureInto(Image& target, const std::string& fileName, Messenger& messenger);

// For each item, the number formed by its first two characters as a decimal
// string ("07 - Monaco" gives "7"). Items that do not start with a number are
// left out.
std::vector<std::string> NumberPrefixes(const std::vector<std::string>& items);

} // namespace pitwall
