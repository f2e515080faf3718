#pragma once
// The three arrays every data area shares during a transfer: what the next
// transfer handles, what the working set holds (never cleared while the
// program runs), and whether an import or carset load is running.

#include "transfer/SelectionItems.h"

namespace pitwall {

struct TransferState {
    ItemBytes selection{};
    ItemBytes loaded{};
    bool busy = false;

    bool selected(int item) const { return selection.at(static_cast<std::size_t>(item)) != 0; }
    bool isLoaded(int item) const { return loaded.at(static_cast<std::size_t>(item)) != 0; }
    void selectAll() { selection.fill(1); }
};

} // namespace pitwall
