#include "menu/TeamArtEntries.h"

#include "formats/ArtBankFile.h"
#include "formats/TeamArtSheet.h"

namespace pitwall {

std::vector<TeamArtChange> ChangedTeamArt(std::string_view bankFile, const ArtDirectory& directory, int team,
                                          const ArtPicture& sheet)
{
    std::vector<TeamArtChange> changed;
    for (std::size_t p = 0; p < kTeamSheetPositions; ++p) {
        const std::size_t index = TeamSheetEntry(team, p);
        const ArtEntry& e = directory.entries[index];
        ArtPicture now = CutTeamSheetEntry(sheet, p, e);
        ArtPicture before;
        if (ReadArtImage(bankFile, index, before, nullptr) && before == now)
            continue;
        changed.push_back({index, std::move(now)});
    }
    return changed;
}

} // namespace pitwall
