#include "formats/ArtBankGroups.h"

#include "formats/TeamArtSheet.h"

namespace pitwall {

std::vector<std::size_t> TeamArtEntryList(int team)
{
    std::vector<std::size_t> entries;
    for (std::size_t p = 0; p < kTeamSheetPositions; ++p)
        entries.push_back(TeamSheetEntry(team, p));
    return entries;
}

std::size_t TrackPictureEntry(int track, int kind, int view)
{
    return kTrackPictureEntries.first + static_cast<std::size_t>(64 * kind + 4 * track + view);
}

std::vector<std::size_t> TrackPictureEntryList(int track)
{
    std::vector<std::size_t> entries;
    for (int kind = 0; kind < 2; ++kind)
        for (int view = 0; view < 4; ++view)
            entries.push_back(TrackPictureEntry(track, kind, view));
    return entries;
}

std::size_t MenuBackgroundEntry(int background)
{
    return kMenuBackgroundEntries.first + static_cast<std::size_t>(background);
}

} // namespace pitwall
