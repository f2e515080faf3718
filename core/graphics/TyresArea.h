#pragma once
// The two tyre sets (items 189 Goodyear, 190 Bridgestone): tread and
// wheel-blur pictures in GP3JAMSH\TECHJAM, wheel-blur JAMs in GP3JAMS\MAIN,
// the same six files by name in a carset.

#include "graphics/GraphicsSet.h"
#include "transfer/DataArea.h"

namespace pitwall {

inline constexpr int kTyresFirstItem = 189;

class TyresArea : public DataArea {
public:
    explicit TyresArea(GraphicsSet& set) : set_(set) {}

    std::vector<int> items() const override { return {kTyresFirstItem, kTyresFirstItem + 1}; }
    void importFromGame(TransferContext& context) override;
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;

private:
    // Reads the six files through `read` and builds the set; nothing is
    // taken unless all six are good.
    template <typename Read>
    void take(TransferContext& context, int type, Read read);
    GraphicsSet& set_;
};

} // namespace pitwall
