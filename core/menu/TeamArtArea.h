#pragma once
// The art of the eleven racing teams (items 104-114) as a data area of the
// transfers: each team's sheet is composed from the art bank on import and
// written back into it on export; a carset carries it as TeamArt<t>.DAT, a
// BMP of the sheet. Before any export this area also makes sure the art bank
// has room for the team art, menu backgrounds and track pictures the export
// writes (one question for all of them).

#include "formats/ArtPicture.h"
#include "formats/TeamArtSheet.h"
#include "menu/MenuArt.h"
#include "transfer/AreaFiles.h"
#include "transfer/DataArea.h"

#include <array>
#include <cstddef>
#include <vector>

namespace pitwall {

using TeamArtSheets = std::array<ArtPicture, kRacingTeams>;

class TeamArtArea : public DataArea {
public:
    TeamArtArea(TeamArtSheets& sheets, const MenuReplacementList& backgrounds)
        : sheets_(sheets), backgrounds_(backgrounds)
    {}

    std::vector<int> items() const override;
    void importFromGame(TransferContext& context) override;
    bool importsBesideOthers() const override { return true; }
    bool loadsBesideOthers() const override { return true; }
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;
    bool checkBeforeExport(TransferContext& context) override;
    // The art-bank entries the export of the run's selection changes: the
    // team art and the waiting track pictures that differ from the bank's,
    // and the listed menu backgrounds loaded from files. Pictures the game
    // already has need no room.
    std::vector<std::size_t> entriesTheExportChanges(TransferContext& context) const;

private:
    // What entriesTheExportChanges keeps for the run.
    std::vector<std::size_t> changedEntries(const TransferContext& context) const;
    // Import (from the game's art bank) and carset load (a BMP per team).
    void take(TransferContext& context, const ByteSource& source);

    TeamArtSheets& sheets_;
    const MenuReplacementList& backgrounds_;
};

} // namespace pitwall
