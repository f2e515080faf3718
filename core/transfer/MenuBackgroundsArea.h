#pragma once
// Menu backgrounds (item 5) are not read from the game: an import only
// remembers that they were asked for, so a later export writes the pictures
// chosen in the menu graphics editor.

#include "transfer/DataArea.h"

namespace pitwall {

class MenuBackgroundsArea : public DataArea {
public:
    // Item 5 is offered once the menu graphics can be exported and stored
    // in carsets; until then no transfer carries it.
    std::vector<int> items() const override { return {}; }
    void importFromGame(TransferContext& context) override;
};

} // namespace pitwall
