#include "formats/ArtEntryNames.h"

namespace pitwall {

namespace {

struct NamedRange {
    std::size_t first, last;
    int text;
    int firstNumber;
};

// The team sheets: 30 animation frames per team, the car pictures of four
// sheet positions, driver pictures, helmet frames, logos and name pictures.
constexpr NamedRange kNames[] = {
    {1, 9, 677, 1},      {10, 339, 678, 1},  {340, 399, 685, 1}, {400, 443, 679, 1},
    {444, 444, 685, 61}, {445, 488, 680, 1}, {489, 554, 681, 1}, {555, 565, 682, 1},
    {566, 693, 688, 1},  {694, 754, 686, 0}, {755, 839, 687, 0},
};

} // namespace

ArtEntryNameText ArtEntryName(std::size_t entry)
{
    for (const auto& r : kNames)
        if (entry >= r.first && entry <= r.last)
            return {r.text, Args(static_cast<int>(entry - r.first) + r.firstNumber)};
    // Entry 0, which the game leaves unused, and anything past the named ranges.
    return {155, {}};
}

} // namespace pitwall
