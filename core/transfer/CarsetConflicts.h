#pragma once
// Where carsets would get in each other's way: for each pair, the selection
// items both carry, and the bytes of the game files both would write, taken
// from what each carset's export would change in the installation (its
// change set, prepared and never written). The savegame checksum, which
// every change to the savegame renews, is not counted.

#include "transfer/GameChangeSet.h"
#include "transfer/SelectionItems.h"

#include <cstddef>
#include <string>
#include <vector>

namespace pitwall {

// What one carset holds and what its export would change.
struct CarsetChanges {
    std::string name;
    ItemBytes items{};
    std::vector<FileChange> changes;
};

// Bytes of one game file that an item of each carset writes.
struct ItemOverlap {
    std::string relativePath;
    int firstItem = 0;
    int secondItem = 0;
    std::vector<ByteRange> ranges; // rising, each the bytes both write
};

struct CarsetPairConflicts {
    std::size_t first = 0; // indexes of the pair's carsets
    std::size_t second = 0;
    std::vector<int> sharedItems;
    std::vector<ItemOverlap> overlaps;
    bool overlapping() const { return !overlaps.empty(); }
};

// A game file's name as conflicts compare it: separators and letter case as
// Windows sees them.
std::string ConflictFileKey(const std::string& relativePath);

// The bytes two lists of ranges have in common, in rising order. Neither
// list needs to be sorted; ranges within one list may overlap.
std::vector<ByteRange> IntersectRanges(std::vector<ByteRange> a, std::vector<ByteRange> b);

// Every pair of the carsets, in order (0-1, 0-2, ..., 1-2, ...).
std::vector<CarsetPairConflicts> FindCarsetConflicts(const std::vector<CarsetChanges>& carsets);

// "0x73B7EA-0x73B7EB, 0x73B800" (inclusive ends), the first `shown` ranges
// and how many more.
std::string RangeText(const std::vector<ByteRange>& ranges, std::size_t shown = 8);

} // namespace pitwall
