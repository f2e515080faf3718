#include "menu/TeamArtEntries.h"

#include "base/ParallelFor.h"
#include "formats/ArtBankFile.h"
#include "formats/TeamArtSheet.h"
#include "transfer/ReportedFormats.h"

#include <optional>

namespace pitwall {

namespace {

// `read(index, picture)` reads an entry of the bank compared with.
template <typename Read>
std::vector<TeamArtChange> CompareTeamArt(const Read& read, const ArtDirectory& directory, int team,
                                          const ArtPicture& sheet)
{
    // Each entry is read and compared on its own, on every core.
    std::vector<std::optional<TeamArtChange>> compared(kTeamSheetPositions);
    ParallelFor(kTeamSheetPositions, [&](std::size_t p) {
        const std::size_t index = TeamSheetEntry(team, p);
        ArtPicture now = CutTeamSheetEntry(sheet, p, directory.entries[index]);
        ArtPicture before;
        if (read(index, before) && before == now)
            return;
        compared[p] = TeamArtChange{index, std::move(now)};
    });
    std::vector<TeamArtChange> changed;
    for (auto& c : compared)
        if (c)
            changed.push_back(std::move(*c));
    return changed;
}

} // namespace

std::vector<TeamArtChange> ChangedTeamArt(std::string_view bankFile, const ArtDirectory& directory, int team,
                                          const ArtPicture& sheet)
{
    return CompareTeamArt([&](std::size_t index, ArtPicture& p) { return ReadArtImage(bankFile, index, p, nullptr); },
                          directory, team, sheet);
}

std::vector<TeamArtChange> ChangedTeamArt(std::span<const std::uint8_t> bank, const ArtDirectory& directory, int team,
                                          const ArtPicture& sheet)
{
    return CompareTeamArt(
        [&](std::size_t index, ArtPicture& p) { return ReadArtImage(bank, kArtBankGamePath, index, p, nullptr); },
        directory, team, sheet);
}

} // namespace pitwall
