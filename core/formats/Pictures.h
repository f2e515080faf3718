#pragma once
// The picture-file utilities the editors share: loading by extension (.BMP,
// .PNG, .JPG and .JPEG, any letter case) and saving (.BMP and .JPG; other
// extensions show UI text 985 and do nothing), conversion, cropping to a
// file, the colour-keyed copy and the paste-into-a-picture rule.

#include "base/FormatError.h"
#include "formats/Image.h"

#include <exception>
#include <string>
#include <vector>

namespace pitwall {

// UI text shown when a picture file cannot be read: "%s" the file name, "%s"
// the reason.
inline constexpr int kPictureUnreadableText = 1077;
// The UI text of the reason that message gives for what a picture load threw.
int PictureFaultTextNumber(const std::exception& error);
// That message for the file as an error to report.
FormatError PictureUnreadable(const std::string& fileName, const std::exception& error);

// The key colour of colour-keyed copies and of the art bank: magenta
// (red 248, green 0, blue 248).
inline constexpr Pixel kColorKey = MakePixel(248, 0, 248);

// UI text telling that a PNG's transparent pixels were put on black ("%s"
// the file name): shown once for each file taken in.
inline constexpr int kTransparentOnBlackText = 1201;

// True when the name ends in .JPG, any case.
bool IsJpg(const std::string& fileName);

// True when LoadPicture takes the file by its extension (.BMP, .PNG, .JPG or
// .JPEG, any case).
bool IsReadPictureName(const std::string& fileName);

// What taking a picture file in did beyond decoding it, for the caller to
// tell the user.
struct PictureNotes {
    // The file had transparent pixels, now on black.
    bool transparencyOnBlack = false;
};

// Every picture a user may hand in: a .BMP read as it is, a .PNG as by
// DecodePng (transparent pixels on black, noted in `notes`), a .JPG or .JPEG
// decoded into a 24-bit picture. Another extension throws FormatError with
// UI text 985. A file that cannot be read or decoded throws
// (std::runtime_error, FormatError without a UI text).
Image LoadPicture(const std::string& fileName, PictureNotes* notes = nullptr);
// .BMP: saved by its depth; .JPG: JPEG at quality 80 in a new file. Another
// extension throws FormatError with UI text 985 and writes nothing.
void SavePicture(const Image& image, const std::string& fileName);
// The same with .PNG as a third kind (saved by the picture's depth as
// EncodePng does), for the workshops and the command line's exports.
bool IsPng(const std::string& fileName);
void SavePictureOrPng(const Image& image, const std::string& fileName);
// A .BMP source is copied as it is; a .PNG or .JPG source is decoded (as by
// LoadPicture) and saved as a BMP under the target name. False when the copy
// failed; an unknown extension throws FormatError with UI text 985.
bool ImportPictureAsBmp(const std::string& source, const std::string& target, PictureNotes* notes = nullptr);
// Writes the BMP as JPEG at the encoder's default quality 90.
void ConvertBmpToJpg(const std::string& bmpFile, const std::string& jpgFile);

// The rectangle of the picture as a BMP of the picture's depth.
void CropToFile(const Image& image, Rect rect, const std::string& fileName);

// Both pictures become 24-bit; every pixel of `from` that differs from the key
// goes to the target at the same offset from (targetLeft, targetTop). The key
// is the fixed magenta, or else the source pixel at the rectangle's top-left
// corner. Parts outside either picture are skipped.
void ColorKeyedCopy(Image& source, Image& target, Rect from, bool fixedKey, int targetTop, int targetLeft);

// The editors' "load picture into", in two steps so that the caller can ask
// about a different depth in between: the picture file, which must have the
// target's size (else FormatError with UI text 737 and the width and height;
// unknown extensions UI text 985) ...
Image LoadPictureFor(const Image& target, const std::string& fileName, PictureNotes* notes = nullptr);
// ... then pasted over `target`, converted to the target's depth first (8
// bits and below: to the target's colour table).
void PastePicture(Image& target, Image picture);

// For each item, the number formed by its first two characters as a decimal
// string ("07 - Monaco" gives "7"). Items that do not start with a number are
// left out.
std::vector<std::string> NumberPrefixes(const std::vector<std::string>& items);

} // namespace pitwall
