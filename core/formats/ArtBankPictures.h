#pragma once
// Art-bank pictures as picture files: an entry exported as BMP or JPG, a
// picture file imported into an entry, and the conversion between the bank's
// 15-bit words and the program's 24-bit pictures.

#include "formats/ArtBankDirectory.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtPicture.h"
#include "formats/Image.h"
#include "formats/Pictures.h"

#include <optional>
#include <span>
#include <string>

namespace pitwall {

// 24-bit picture: each 5-bit channel times 8; the key word becomes magenta
// (248, 0, 248).
Image ArtPictureToImage(const ArtPicture& picture);
// The same picture as the bytes of a 24-bit BMP file, without the Image
// between (EncodeBmp(ArtPictureToImage(picture)) byte for byte).
std::vector<std::uint8_t> EncodeArtPictureBmp(const ArtPicture& picture);
// Channels shifted right by 3; exact magenta is the key colour.
ArtPicture ArtPictureFromImage(const Image& image);
// ArtPictureFromImage(DecodeBmp(bytes)), a 24-bit BMP converted row by row
// without the Image between; throws as DecodeBmp.
ArtPicture ArtPictureFromBmp(std::span<const std::uint8_t> bytes);
// The same from a file, as LoadBmpFile reads and names it.
ArtPicture LoadBmpFileAsArtPicture(const std::string& fileName);

// Reads the entry and saves it by extension (.BMP 24-bit, .JPG at quality
// 80, .PNG 24-bit; another extension UI text 985). The reading's and the
// saving's faults throw FormatError; false for an entry past the directory.
bool ExportArtImage(const std::string& bankFile, std::size_t entry, const std::string& fileName);
// The picture file (as by LoadPicture) as the entry's picture (FormatError
// with UI text 737 for another size, or the loading's), nothing for an entry
// past the directory or a file that is no picture.
std::optional<ArtPicture> ArtPictureForEntry(const ArtDirectory& directory, std::size_t entry,
                                             const std::string& fileName, PictureNotes* notes = nullptr);
// Loads a picture file (BMP, PNG or JPG); if it has the entry's width and
// height it is written in place into the entry, else FormatError with UI
// text 737 and the entry's width and height, and nothing changes. False for
// an entry past the directory.
bool ImportArtPicture(const std::string& bankFile, const ArtDirectory& directory, std::size_t entry,
                      const std::string& fileName, PictureNotes* notes = nullptr);
// The same into a whole bank held in memory.
bool ImportArtPicture(std::vector<std::uint8_t>& bank, const ArtDirectory& directory, std::size_t entry,
                      const std::string& fileName, PictureNotes* notes = nullptr);

} // namespace pitwall
