#pragma once
// The menu backgrounds (item 5): art-bank entries 755 to 839, which the user
// replaces by 800 x 600 pictures ("MenuReplace" + n + ".BMP" in the working
// directory) in the menu graphics editor. Import only notes that they were
// asked for; export writes the backgrounds of the export list into the art
// bank; a carset carries each background of the list as a BMP.

#include "menu/MenuArt.h"
#include "transfer/DataArea.h"

namespace pitwall {

class MenuBackgroundsArea : public DataArea {
public:
    explicit MenuBackgroundsArea(MenuReplacementList& exportList) : exportList_(exportList) {}

    std::vector<int> items() const override { return {kMenuBackgroundsItem}; }
    void importFromGame(TransferContext& context) override;
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;

private:
    MenuReplacementList& exportList_;
};

} // namespace pitwall
