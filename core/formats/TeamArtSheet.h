#pragma once
// The art of one racing team as one 960 x 590 sheet: its 45 art-bank entries
// (30 car rotation frames, car pictures, logo, driver pictures and helmet
// frames) at fixed places. The menu graphics editor shows and exchanges the
// sheet; the sprites are cut out of it by their tabled sizes.

#include "base/FormatError.h"
#include "formats/ArtBankDirectory.h"
#include "formats/ArtPicture.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace pitwall {

inline constexpr int kRacingTeams = 11;
inline constexpr std::size_t kTeamSheetPositions = 45;
inline constexpr std::uint32_t kTeamSheetWidth = 960;
inline constexpr std::uint32_t kTeamSheetHeight = 590;

struct SheetPoint {
    std::uint32_t x = 0;
    std::uint32_t y = 0;
};
struct SheetSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The art-bank entry of a sheet position for racing team 0..10.
std::size_t TeamSheetEntry(int team, std::size_t position);
SheetPoint TeamSheetPlace(std::size_t position);
SheetSize TeamSpriteSize(std::size_t position);
// Entries of the art of any racing team (also those between the teams' blocks
// the sheets do not show).
bool IsTeamArtEntry(std::size_t entry);

// Builds the sheet from the team's entries of the bank file. The places of the
// helmet frames (positions 38-43) are first filled with the key colour over
// 85 x 80 pixels. An entry that cannot be read throws FormatError (the
// reading's); false when an entry lies past the directory.
bool ComposeTeamSheet(std::string_view bankFile, int team, ArtPicture& sheet);
// Writes every position of the sheet back in place into its entry, each at the
// entry's size. False when one or more entries could not take their picture
// (the others are written); the errors of those that have one are added to
// `faults`, in order.
bool WriteTeamSheet(std::string_view bankFile, const ArtDirectory& directory, int team, const ArtPicture& sheet,
                    std::vector<FormatError>& faults);
// The picture of a sheet position at the entry's size, as it is written into
// the entry: parts beyond the sheet's edge are key colour.
ArtPicture CutTeamSheetEntry(const ArtPicture& sheet, std::size_t position, const ArtEntry& entry);
// Copies the sprite of a sheet position onto `target` at (x, y), leaving out
// key-coloured pixels and what falls outside the target.
void DrawTeamSprite(const ArtPicture& sheet, std::size_t position, ArtPicture& target, int x, int y);

} // namespace pitwall
