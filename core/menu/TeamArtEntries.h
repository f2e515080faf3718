#pragma once
// Which art-bank entries of a racing team a held sheet changes. Export writes
// only those, so an untouched sheet leaves the bank as it is, and the bank
// needs room only for pictures that really change.

#include "formats/ArtBankDirectory.h"
#include "formats/ArtPicture.h"

#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace pitwall {

class Messenger;

struct TeamArtChange {
    std::size_t entry = 0;
    ArtPicture picture;
};

// The entries of `team` whose picture in the bank differs from the sheet's
// (an entry the bank cannot give counts as changed), with the new pictures.
std::vector<TeamArtChange> ChangedTeamArt(std::string_view bankFile, const ArtDirectory& directory, int team,
                                          const ArtPicture& sheet);
// The same against a whole bank held in memory.
std::vector<TeamArtChange> ChangedTeamArt(std::span<const std::uint8_t> bank, const ArtDirectory& directory, int team,
                                          const ArtPicture& sheet);

} // namespace pitwall
