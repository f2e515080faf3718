#pragma once
// One group of team JAM graphics (car liveries, cockpit liveries, jacks or
// helmet sheets) as a data area. Import reads the game's JAMs, export
// replaces them whole, a carset holds each as "<name>Soft.DAT" (the 8-bit
// JAM unscrambled) or "<name>Hard.DAT" (the 16-bit JAM as the game has it).
// The software variant is always an 8-bit JAM and the hardware variant a
// 16-bit one; a file of the other kind is refused, never stored.

#include "graphics/ArtPrecheck.h"
#include "graphics/TeamJams.h"
#include "transfer/AreaFiles.h"
#include "transfer/DataArea.h"

namespace pitwall {

class TeamJamsArea : public DataArea {
public:
    TeamJamsArea(JamGroup group, GraphicsSet& set) : group_(group), set_(set) {}

    std::vector<int> items() const override;
    void importFromGame(TransferContext& context) override;
    bool importsBesideOthers() const override { return true; }
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;
    // The car liveries run first in an export of the team graphics: they
    // carry the art-bank check of the whole export.
    bool checkBeforeExport(TransferContext& context) override { return !precheck_ || precheck_->run(context); }
    void setPrecheck(const ArtPrecheck* precheck) { precheck_ = precheck; }

private:
    // A 16-bit JAM as the game's tools store it may hold its first control
    // byte inside the last header record; the program's writer normalises
    // that. A held 16-bit JAM whose picture is unchanged is therefore
    // written back as the very bytes it was read from.
    struct ReadForm {
        std::vector<std::uint8_t> original;
        std::vector<std::uint8_t> assembled;
    };
    std::vector<std::uint8_t> hardwareBytes(std::size_t slot, const TJAMFile& jam) const;

    void progress(TransferContext& context, const JamItem& item) const;
    // Import and carset load: every file of each selected item read, or
    // none of the item's taken.
    void take(TransferContext& context, const ByteSource& source);
    // Export and carset save.
    void give(TransferContext& context, const ByteSink& sink) const;

    JamGroup group_;
    GraphicsSet& set_;
    const ArtPrecheck* precheck_ = nullptr;
    std::vector<ReadForm> hardwareForms_;
};

} // namespace pitwall
