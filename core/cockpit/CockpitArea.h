#pragma once
// The cockpit as a data area of the transfers: cockpit graphics (items 7, 8:
// JAMs, read from the game and carsets, never written to the game), cockpit
// objects (78) and LCD texts (118) in GP3.EXE, and the LCD displays of each
// language (191..198) in LDATA\<language>.3D.

#include "cockpit/CockpitData.h"
#include "transfer/DataArea.h"

namespace pitwall {

class Palette;

class CockpitArea : public DataArea {
public:
    CockpitArea(CockpitData& data, const Palette& palette) : data_(data), palette_(palette) {}

    std::vector<int> items() const override;
    void importFromGame(TransferContext& context) override;
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;

private:
    void importGraphics(TransferContext& context, int set);
    void importDisplay(TransferContext& context, int language);
    void loadGraphics(TransferContext& context, int set);

    CockpitData& data_;
    const Palette& palette_;
};

} // namespace pitwall
