#include "transfer/SelectionDialogModel.h"

#include "formats/GameLanguages.h"

namespace pitwall {

namespace {
constexpr int kTrackFileLast = kTrackFileFirst + 15;
constexpr int kTrackJams = 167;
} // namespace

SelectionDialogModel::SelectionDialogModel()
{
    for (int n = 1; n <= kLastItem; ++n) {
        auto& b = boxes_[static_cast<std::size_t>(n)];
        b.tag = ItemTag(n);
        b.visible = IsItemVisible(n);
        b.enabled = n != 9;
    }
    boxes_[0].visible = false;
    boxes_[0].enabled = false;
    all_.tag = kAllItemsTag;
    carried_.fill(1);
}

void SelectionDialogModel::withdrawUncarried()
{
    for (int n = 1; n <= kLastItem; ++n) {
        auto& b = box(n);
        if (IsDataItem(n) && !carried_[static_cast<std::size_t>(n)]) {
            b.enabled = false;
            b.checked = false;
        }
    }
}

void SelectionDialogModel::prepareImport(const ItemBytes& offered, bool carset, int gameVersion)
{
    for (int n = 1; n <= kLastItem; ++n)
        box(n).enabled = true;
    for (int n = kTrackFileFirst; n <= kTrackFileLast; ++n) {
        box(n).enabled = carset;
        if (!carset)
            box(n).checked = false;
    }
    box(kTrackJams).enabled = false;
    if (carset) {
        for (int n = 1; n <= kLastItem; ++n) {
            auto& b = box(n);
            if (b.tag != 0) {
                b.enabled = true;
                continue;
            }
            b.enabled = offered[static_cast<std::size_t>(n)] != 0;
            if (!b.enabled)
                b.checked = false;
        }
    }
    // A carset's cockpit displays of languages this version lacks still load
    // (and go into the next carset); its texts of them do not.
    auto lcdDisplay = [](int n) { return n >= kLcdDisplayFirst && n < kLcdDisplayFirst + kLanguageCount; };
    for (int n = 1; n <= kLastItem; ++n)
        if (!ItemInGameVersion(n, gameVersion) && !(carset && lcdDisplay(n))) {
            box(n).enabled = false;
            box(n).checked = false;
        }
    withdrawUncarried();
}

void SelectionDialogModel::prepareExport(const ItemBytes& offered, bool carset)
{
    for (int n = 1; n <= kLastItem; ++n) {
        auto& b = box(n);
        if (b.tag != 0)
            continue;
        b.enabled = offered[static_cast<std::size_t>(n)] != 0;
        if (!b.enabled)
            b.checked = false;
    }
    // A track file can go into a carset whenever the track's information
    // is loaded.
    if (carset)
        for (int n = kTrackFileFirst; n <= kTrackFileLast + 1; ++n)
            if (offered[static_cast<std::size_t>(n + 53)] != 0)
                box(n).enabled = true;
    withdrawUncarried();
}

void SelectionDialogModel::applyTag(int tag, bool checked)
{
    if (tag > 0 && tag <= 0xFF) { // a row box: team + 10
        for (int n : RowItems(tag))
            if (n >= 1 && n <= kLastItem && box(n).enabled)
                box(n).checked = checked;
        return;
    }
    auto [first, count] = SelectAllRange(tag);
    for (int n = first; n < first + count && n <= kLastItem; ++n) {
        if (!box(n).enabled)
            continue;
        box(n).checked = checked;
        // A box set this way reacts as if clicked: nested select-all boxes
        // pass the state on.
        if (box(n).tag != 0)
            applyTag(box(n).tag, checked);
    }
}

void SelectionDialogModel::click(int item)
{
    auto& b = box(item);
    if (!b.enabled || !b.visible)
        return;
    b.checked = !b.checked;
    if (b.tag != 0)
        applyTag(b.tag, b.checked);
}

void SelectionDialogModel::clickAll()
{
    if (!all_.enabled)
        return;
    all_.checked = !all_.checked;
    applyTag(all_.tag, all_.checked);
}

ItemBytes SelectionDialogModel::readSelection() const
{
    ItemBytes selection{};
    for (int n = 1; n <= kLastItem; ++n) {
        const auto& b = box(n);
        selection[static_cast<std::size_t>(n)] = (b.visible && b.checked) ? 1 : 0;
    }
    return selection;
}

} // namespace pitwall
