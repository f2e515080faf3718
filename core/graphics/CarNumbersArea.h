#pragma once
// The car-number positions of all teams (item 6): two tables in GP3.EXE at
// a position that depends on the game version, Carnumbers.DAT in a carset.

#include "graphics/GraphicsSet.h"
#include "transfer/DataArea.h"

namespace pitwall {

inline constexpr int kCarNumbersItem = 6;

class CarNumbersArea : public DataArea {
public:
    explicit CarNumbersArea(CarNumberTable& table) : table_(table) {}

    std::vector<int> items() const override { return {kCarNumbersItem}; }
    void importFromGame(TransferContext& context) override;
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;

private:
    CarNumberTable& table_;
};

} // namespace pitwall
