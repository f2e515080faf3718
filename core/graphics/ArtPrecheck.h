#pragma once
// Before an export writes team art, track pictures or menu backgrounds into
// the art bank, every entry it will write must already have room for a
// picture of its size (its fits flag). This check finds the entries that do
// not and lets the front end enlarge them (or stop the export) first.

#include "formats/ArtBankDirectory.h"
#include "menu/MenuArt.h"
#include "transfer/DataArea.h"
#include "transfer/SelectionItems.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace pitwall {

// The art-bank entries an export of the selection writes: per team art item
// 104 + t entries 10 + 30t .. 39 + 30t, 400 + t, 411 + t, 422 + t, 433 + t,
// 445 + 4t .. 448 + 4t, 489 + 6t .. 494 + 6t and 555 + t (the sheet's last
// picture, which the export writes like the others); per
// track pictures item 121 + s the small pictures 566 + 4s .. 569 + 4s and the
// full-screen ones 630 + 4s .. 633 + 4s; with item 5 entry 755 + n per menu
// background n in use. Ascending, without repeats.
std::vector<int> ArtEntriesToWrite(const ItemBytes& selection, const std::vector<int>& menuBackgrounds);
// The entries of `entries` whose fits flag is not set; an entry the bank's
// directory does not hold counts as one that does not fit.
std::vector<int> ArtEntriesThatDoNotFit(const ArtDirectory& directory, const std::vector<int>& entries);

// The selected items (team art, track pictures, menu backgrounds) that write
// any of `entries`, ascending.
std::vector<int> ItemsWritingEntries(const ItemBytes& selection, const std::vector<int>& menuBackgrounds,
                                     const std::vector<int>& entries);
// "<item>: no room in the art file; left out" (UI text 963).
std::string LeftOutText(int item, const UITexts& texts);
// Takes the items out of the run's selection, each counted as a failure
// with LeftOutText, so that the export goes on without them.
void LeaveOutItems(TransferContext& context, const std::vector<int>& items);

// Decides what happens to entries that do not fit: true when they were
// enlarged (or the export may go on regardless), false to stop the export.
// It is given the bank's directory as read and the entries.
using ArtExpansionHandler =
    std::function<bool(TransferContext&, const ArtDirectory& directory, const std::vector<int>& entries)>;

class ArtPrecheck {
public:
    // The export list of the menu backgrounds (the session attaches the
    // working set's), whose numbers 0..84 name the entries item 5 writes.
    const MenuReplacementList* menuBackgrounds = nullptr;
    // Set by a front end that enlarges entries before the export (the
    // command line's --expand-art); without one the check does nothing and
    // the areas that write into the bank see to their own room.
    ArtExpansionHandler expand;
    // The entries the export really changes (the session asks the team-art
    // area, which holds the team sheets). When set, only these need room:
    // pictures the game already has, such as the track pictures right after
    // an import, never bring up the expansion. Without it every entry of
    // ArtEntriesToWrite counts.
    std::function<std::vector<std::size_t>(TransferContext&)> entriesThatChange;

    // No handler, nothing to write into the bank, or everything fits: true
    // without a word. Otherwise the handler decides.
    bool run(TransferContext& context) const;
};

} // namespace pitwall
