#pragma once
// The state of the selection dialog's check boxes (enabled, checked, visible)
// and its rules, without the window: what a transfer offers, what the
// select-all and row boxes do, and which items a confirmed dialog selects.
// The desktop dialog draws this model; the rules are tested here.

#include "transfer/SelectionItems.h"

#include <array>

namespace pitwall {

struct SelectionBox {
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    int tag = 0;
};

class SelectionDialogModel {
public:
    SelectionDialogModel();

    // Box N (1..198); the "Alles importieren / exportieren" box is allBox().
    SelectionBox& box(int item) { return boxes_.at(static_cast<std::size_t>(item)); }
    const SelectionBox& box(int item) const { return boxes_.at(static_cast<std::size_t>(item)); }
    SelectionBox& allBox() { return all_; }
    const SelectionBox& allBox() const { return all_; }

    // Offers items for an import from the game (carset false) or a carset
    // load (carset true). Items the game version lacks (v1.00: American,
    // Polish and Portuguese texts and LCD displays) are not offered.
    void prepareImport(const ItemBytes& offered, bool carset, int gameVersion);
    // Offers items for an export to the game (carset false) or a carset save.
    void prepareExport(const ItemBytes& offered, bool carset);
    // The items some data area carries: the prepare calls never offer any
    // other (all, until this is called).
    void setCarried(const ItemBytes& carried) { carried_ = carried; }

    // The user clicks box N: an enabled box toggles; a select-all or row box
    // then sets the enabled boxes it covers to its own state.
    void click(int item);
    void clickAll();

    // Item N is selected when its box is visible and checked.
    ItemBytes readSelection() const;

private:
    void applyTag(int tag, bool checked);
    void withdrawUncarried();

    std::array<SelectionBox, kLastItem + 1> boxes_;
    SelectionBox all_;
    ItemBytes carried_;
};

} // namespace pitwall
