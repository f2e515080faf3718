#pragma once
// What the pages of the 3D graphics editor transfer and show, without the
// windows: the items of each page's import and export commands, the item
// whose loaded flag enables a page, the flag page's colour grid and the
// car-number fields.

#include "graphics/GraphicsSet.h"

#include <optional>
#include <string>
#include <vector>

namespace pitwall {

enum class GraphicsPage { Cars, Cockpits, Jacks, Helmets, PitCrew, Tyres, Flags };
inline constexpr int kGraphicsPageCount = 7;

// "Importieren" / "Exportieren" of the page for the chosen team (tyre type
// on the tyre page) and variant (0 software, 1 hardware).
std::vector<int> PageItems(GraphicsPage page, int team, int variant);
// "Alles importieren" / "Alles exportieren" of the page.
std::vector<int> PageAllItems(GraphicsPage page);
// The item whose loaded flag enables the page's edit controls.
int PageLoadedItem(GraphicsPage page, int team, int variant);

// The flag page's grids: 16 cells of 14 x 13 pixels per row; a click selects
// (x div 14) + (y div 13) * 16, and only indices 0..192 are ramp bases.
inline constexpr int kGridCellWidth = 14, kGridCellHeight = 13, kGridColumns = 16;
inline constexpr int kHighestRampBase = 192;
std::optional<int> GridIndexAt(int x, int y);

// A car-number field's text as the value stored: a number, else 0 ("12a"
// is 0). Values beyond 32 bits are 0 as well.
std::int32_t CarNumberFieldValue(const std::string& text);

// The 18 fields: 12 source fields (views left, front, right x X, Y, W, H)
// showing integers 12 * set + 0..11, and 6 target fields (left, front,
// right x X, Y) showing integers 24..29.
inline constexpr int kCarNumberFields = 18;
int CarNumberFieldInteger(int field, int numberSet);
// The outline the car page blinks around the focused field's area: the
// livery page holds the left view at y 0, the front at 128, the right at 256.
Rect CarNumberOutline(const CarNumberRecord& record, int field, int numberSet);

} // namespace pitwall
