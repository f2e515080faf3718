#pragma once
// The numbered selection items: item N (1..198) names one piece of the working
// set (teams and drivers, one team's hardware car livery, one track's file,
// one language's texts, ...). The numbers are shared by the carset header, the
// selection dialog (check box N) and every data area, and never change.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace pitwall {

class UITexts;

inline constexpr int kItemCount = 256;
inline constexpr int kLastItem = 198;
using ItemBytes = std::array<std::uint8_t, kItemCount>;

// The teams' ranges: one item per team slot, first slot first.
inline constexpr int kCarSoftFirst = 11, kCarHardFirst = 22;
inline constexpr int kCockpitSoftFirst = 33, kCockpitHardFirst = 44;
inline constexpr int kJackSoftFirst = 55, kJackHardFirst = 66;
inline constexpr int kTeamArtFirst = 104, kPitCrewFirst = 178, kRowBoxFirst = 155;
inline constexpr int kTrackFileFirst = 85, kTrackGraphicsFirst = 121, kTrackInfoFirst = 138;
inline constexpr int kTextsFirst = 168, kLcdDisplayFirst = 191;

// Tag of the "Alles importieren / exportieren" box: items 1..198.
inline constexpr int kAllItemsTag = 1 | (kLastItem << 8);

// Number of progress units item N adds to the loading window's gauge.
int ProgressWeight(int item);
// Sum of the weights of the selected items, as the gauge's 16-bit total.
std::uint16_t ProgressTotal(const ItemBytes& selection);

// The tag of box N: 0 for an item box; first item + 256 * count for a
// select-all box; team + 10 for a row box of one team (155..165).
int ItemTag(int item);
bool IsSelectAllBox(int item);
bool IsRowBox(int item);
// Items a select-all box covers, [first, first + count).
std::pair<int, int> SelectAllRange(int tag);
// The eight items a row box sets: car, cockpit and jack SW/HW, team art and
// pit crew colours of its team.
std::array<int, 8> RowItems(int tag);

// Whether the dialog shows the box (item 9 and item 167 stay hidden).
bool IsItemVisible(int item);
// Whether an item carries data (select-all and row boxes do not).
bool IsDataItem(int item);
// Whether a choice leaves out an item the working set holds (`held`) that
// some data area carries and the dialog shows: a run of that choice does not
// write everything the user may have edited.
bool LeavesOutHeldItems(const ItemBytes& chosen, const ItemBytes& held, const ItemBytes& carried);
// Whether the installed game version has what the item names: v1.00 has
// neither American, Polish nor Portuguese texts nor their LCD displays.
bool ItemInGameVersion(int item, int gameVersion);

// UI text of the dialog caption of box N, or -1 where the box has none of
// its own (livery columns and per-track rows are captioned by labels).
int ItemCaptionText(int item);
// A readable name for any item, built from the dialog's captions and labels
// (for lists and the command line), in Windows-1252.
std::string ItemDescription(int item, const UITexts& texts);

// Clears the selection, then walks the bytes: a byte other than 255 selects
// that item; 255 is followed by first and last and selects first..last.
ItemBytes BuildSelection(std::span<const std::uint8_t> bytes);

} // namespace pitwall
