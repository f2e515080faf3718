#pragma once
// The marshals' flag colours (item 10): four ramp tables in GP3.EXE,
// "FlagColors.DAT" in a carset. The eight flag-marshal frames that preview
// them are read from the game with them.

#include "graphics/GraphicsSet.h"
#include "transfer/AreaFiles.h"
#include "transfer/DataArea.h"

namespace pitwall {

inline constexpr int kFlagColoursItem = 10;
inline constexpr const char* kFlagColoursMember = "FlagColors.DAT";

class FlagColoursArea : public DataArea {
public:
    explicit FlagColoursArea(GraphicsSet& set) : set_(set) {}

    std::vector<int> items() const override { return {kFlagColoursItem}; }
    void importFromGame(TransferContext& context) override;
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;

private:
    // The table is the same bytes in GP3.EXE and in its carset member.
    void take(TransferContext& context, const ByteSource& source);
    void give(TransferContext& context, const ByteSink& sink) const;

    GraphicsSet& set_;
};

} // namespace pitwall
