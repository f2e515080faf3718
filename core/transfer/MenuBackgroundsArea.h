#pragma once
// Menu backgrounds (item 5) are not read from the game: an import only
// remembers that they were asked for, so a later export writes the pictures
// chosen in the menu graphics editor.

#include "transfer/DataArea.h"

namespace pitwall {

class MenuBackgroundsArea : public DataArea {
public:
    void importFromGame(TransferContext& context) override;
};

} // namespace pitwall
