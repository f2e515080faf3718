#pragma once
// The selection items as the command line names them: the groups a whole
// editor's items go by (teams, sounds, ...) and the names the selection
// dialog shows, so --items takes "1,5-9,sounds,Teams and drivers".

#include "base/UITexts.h"
#include "transfer/SelectionItems.h"

#include <string>
#include <vector>

namespace pitwall::cli {

struct ItemGroup {
    const char* name;
    std::vector<int> items;
};

// Every group in the order the items command lists them; "all" last.
const std::vector<ItemGroup>& ItemGroups();
// The group of item N: the one holding it, or for a select-all or row box the
// one holding every item it covers; empty when there is none.
std::string ItemGroupOf(int item);
// An item's name as the selection dialog shows it, in UTF-8.
std::string ItemName(int item, const UITexts& texts);

// Numbers, ranges (11-21), item names (any case) and groups, comma-separated.
// A usage error (CLI::ValidationError) naming the first word that is none
// of them, or a number out of range.
ItemBytes ParseItemList(const std::string& list, const UITexts& texts);

} // namespace pitwall::cli
