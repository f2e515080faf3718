#pragma once
// The two tyre sets (items 189 Goodyear, 190 Bridgestone): tread and
// wheel-blur pictures in GP3JAMSH\TECHJAM, wheel-blur JAMs in GP3JAMS\MAIN,
// the same six files by name in a carset.

#include "graphics/GraphicsSet.h"
#include "transfer/AreaFiles.h"
#include "transfer/DataArea.h"

namespace pitwall {

inline constexpr int kTyresFirstItem = 189;

class TyresArea : public DataArea {
public:
    explicit TyresArea(GraphicsSet& set) : set_(set) {}

    std::vector<int> items() const override { return {kTyresFirstItem, kTyresFirstItem + 1}; }
    void importFromGame(TransferContext& context) override;
    bool importsBesideOthers() const override { return true; }
    bool loadsBesideOthers() const override { return true; }
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;

private:
    // Import and carset load: reads each selected type's six files and
    // builds its set; nothing is taken unless all six are good.
    void take(TransferContext& context, const ByteSource& source);
    void takeType(TransferContext& context, int type, const ByteSource& source);
    // Export and carset save: each selected type's six files.
    void give(TransferContext& context, const ByteSink& sink) const;
    GraphicsSet& set_;
};

} // namespace pitwall
