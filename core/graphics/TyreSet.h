#pragma once
// A tyre set of the game: the tread sheet (two 320 x 200 tread pictures, one
// above the other), the wheel sheet (two 640 x 480 wheel-blur pictures of
// which the program uses columns 0-255 and 257-512, stacked into 512 x 960)
// and the two wheel-blur JAMs. Type 0 is Goodyear ("gy", "blur"), type 1
// Bridgestone ("bs", "bridg").

#include "formats/Image.h"
#include "formats/JamFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pitwall {

inline constexpr int kTyreTypeCount = 2;
inline constexpr int kTreadWidth = 320, kTreadHeight = 200;
inline constexpr int kWheelPictureWidth = 640, kWheelPictureHeight = 480;
inline constexpr int kWheelSheetWidth = 512;

// The six files of a set, in this order: tread 1, tread 2 (BMPs in
// GP3JAMSH\TECHJAM), wheel 0, wheel 1 (BMPs there), wheel JAM 0, wheel JAM 1
// (in GP3JAMS\MAIN). The same names are the carset members.
enum TyreFile { kTread1, kTread2, kWheel0, kWheel1, kWheelJam0, kWheelJam1, kTyreFileCount };
std::array<std::string, kTyreFileCount> TyreFileNames(int type);
// The game path of file `file` of set `type`.
std::string TyreGamePath(int type, int file);

struct TyreSet {
    int type = 0;
    Image tread; // 320 x 400
    Image wheel; // 512 x 960
    TJAMFile wheelJam0;
    TJAMFile wheelJam1;
    // The wheel pictures as read: written back with the sheet's columns put
    // in, so the columns the game has but the sheet does not carry (256 and
    // 513-639) stay as they were.
    std::array<Image, 2> wheelPictures;
};

// Builds a set from its decoded pictures and JAMs. Pictures of other sizes
// than the game's are refused with FormatError naming the file.
TyreSet ComposeTyreSet(int type, std::array<Image, 4> pictures, TJAMFile jam0, TJAMFile jam1);
// The six files' bytes (BMPs at 24 bits, JAMs as the game stores them).
std::array<std::vector<std::uint8_t>, kTyreFileCount> TyreSetFiles(const TyreSet& set);

} // namespace pitwall
