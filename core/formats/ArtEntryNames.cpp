#include "formats/ArtEntryNames.h"

#include "app/UITexts.h"

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
    {1, 9, 677, 1},     {10, 339, 678, 1},  {340, 399, 685, 1}, {400, 443, 679, 1}, {444, 444, 685, 61},
    {445, 488, 680, 1}, {489, 554, 681, 1}, {555, 565, 682, 1}, {566, 693, 688, 1}, {694, 754, 686, 0},
    {755, 839, 687, 0},
};

} // namespace

std::string ArtEntryName(std::size_t entry, const UITexts& texts)
{
    for (const auto& r : kNames)
        if (entry >= r.first && entry <= r.last)
            return texts.format(r.text, Args(static_cast<int>(entry - r.first) + r.firstNumber));
    // Entry 0, which the game leaves unused, and anything past the named ranges.
    return texts.text(155);
}

} // namespace pitwall
