#include "graphics/GraphicsPages.h"

#include "transfer/SelectionItems.h"

#include <charconv>

namespace pitwall {

namespace {

constexpr int kCarNumbersItem = 6;
constexpr int kHelmetsSoft = 77, kHelmetsHard = 102;
constexpr int kTyresFirst = 189;
constexpr int kFlagsItem = 10;
constexpr int kViewHeight = 128;

std::vector<int> Range(int first, int last)
{
    std::vector<int> items;
    for (int n = first; n <= last; ++n)
        items.push_back(n);
    return items;
}

} // namespace

std::vector<int> PageItems(GraphicsPage page, int team, int variant)
{
    const int v = variant == 1 ? 1 : 0;
    switch (page) {
    case GraphicsPage::Cars:
        return {kCarSoftFirst + team + kTeamCount * v};
    case GraphicsPage::Cockpits:
        return {kCockpitSoftFirst + team + kTeamCount * v};
    case GraphicsPage::Jacks:
        return {kJackSoftFirst + team + kTeamCount * v};
    case GraphicsPage::Helmets:
        return {v ? kHelmetsHard : kHelmetsSoft};
    case GraphicsPage::PitCrew:
        return {kPitCrewFirst + team};
    case GraphicsPage::Tyres:
        return {kTyresFirst + team};
    case GraphicsPage::Flags:
        break;
    }
    return {kFlagsItem};
}

std::vector<int> PageAllItems(GraphicsPage page)
{
    switch (page) {
    case GraphicsPage::Cars: {
        std::vector<int> items = Range(kCarSoftFirst, kCarHardFirst + kTeamCount - 1);
        items.push_back(kCarNumbersItem);
        return items;
    }
    case GraphicsPage::Cockpits:
        return Range(kCockpitSoftFirst, kCockpitHardFirst + kTeamCount - 1);
    case GraphicsPage::Jacks:
        return Range(kJackSoftFirst, kJackHardFirst + kTeamCount - 1);
    case GraphicsPage::Helmets:
        return {kHelmetsSoft, kHelmetsHard};
    case GraphicsPage::PitCrew:
        return Range(kPitCrewFirst, kPitCrewFirst + kTeamCount - 1);
    case GraphicsPage::Tyres:
        return {kTyresFirst, kTyresFirst + 1};
    case GraphicsPage::Flags:
        break;
    }
    return {kFlagsItem};
}

int PageLoadedItem(GraphicsPage page, int team, int variant) { return PageItems(page, team, variant).front(); }

std::optional<int> GridIndexAt(int x, int y)
{
    if (x < 0 || y < 0 || x >= kGridCellWidth * kGridColumns)
        return std::nullopt;
    const int index = x / kGridCellWidth + (y / kGridCellHeight) * kGridColumns;
    if (index > kHighestRampBase)
        return std::nullopt;
    return index;
}

std::int32_t CarNumberFieldValue(const std::string& text)
{
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    auto [at, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || at != end)
        return 0;
    return value;
}

int CarNumberFieldInteger(int field, int numberSet)
{
    if (field < 12)
        return 12 * (numberSet == 1 ? 1 : 0) + field;
    return 24 + (field - 12);
}

Rect CarNumberOutline(const CarNumberRecord& record, int field, int numberSet)
{
    const int view = field < 12 ? field / 4 : (field - 12) / 2;
    const auto source = static_cast<std::size_t>(12 * (numberSet == 1 ? 1 : 0) + 4 * view);
    const int w = record[source + 2], h = record[source + 3];
    const int offset = kViewHeight * view;
    int x = record[source], y = record[source + 1];
    if (field >= 12) {
        x = record[static_cast<std::size_t>(24 + 2 * view)];
        y = record[static_cast<std::size_t>(25 + 2 * view)];
    }
    return Rect{x, y + offset, x + w, y + h + offset};
}

} // namespace pitwall
