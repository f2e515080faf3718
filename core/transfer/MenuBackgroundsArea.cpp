#include "transfer/MenuBackgroundsArea.h"

namespace pitwall {

namespace {
constexpr int kMenuBackgroundsItem = 5;
}

void MenuBackgroundsArea::importFromGame(TransferContext& context)
{
    if (context.selected(kMenuBackgroundsItem))
        context.markLoaded(kMenuBackgroundsItem);
}

} // namespace pitwall
