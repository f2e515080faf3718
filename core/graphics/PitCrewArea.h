#pragma once
// The pit-crew colours of each team (items 178 + t): a ramp table per team
// in GP3.EXE, "PitCrewColors<t>.DAT" in a carset.

#include "graphics/GraphicsSet.h"
#include "transfer/AreaFiles.h"
#include "transfer/DataArea.h"

namespace pitwall {

std::string PitCrewMemberName(int team);

class PitCrewArea : public DataArea {
public:
    explicit PitCrewArea(GraphicsSet& set) : set_(set) {}

    std::vector<int> items() const override;
    void importFromGame(TransferContext& context) override;
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;

private:
    bool anySelected(const TransferContext& context) const;
    // Import and carset load: the record of each selected team, from
    // GP3.EXE or its carset member.
    void take(TransferContext& context, const ByteSource& source);
    // Export and carset save.
    void give(TransferContext& context, const ByteSink& sink) const;
    GraphicsSet& set_;
};

} // namespace pitwall
