#include "transfer/SelectionDialogModel.h"
#include "transfer/SelectionItems.h"

#include <gtest/gtest.h>

using namespace pitwall;

namespace {

std::vector<int> Selected(const ItemBytes& s)
{
    std::vector<int> items;
    for (int n = 0; n < kItemCount; ++n)
        if (s[static_cast<std::size_t>(n)])
            items.push_back(n);
    return items;
}

ItemBytes Items(std::initializer_list<int> numbers)
{
    ItemBytes b{};
    for (int n : numbers)
        b[static_cast<std::size_t>(n)] = 1;
    return b;
}

} // namespace

TEST(SelectionItems, BuildSelectionWeightsAndTags)
{
    const std::uint8_t bytes[] = {1, 255, 11, 21};
    EXPECT_EQ(Selected(BuildSelection(bytes)), (std::vector<int>{1, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}));
    const std::uint8_t cut[] = {3, 255, 11};
    EXPECT_EQ(Selected(BuildSelection(cut)), std::vector<int>{3});

    EXPECT_EQ(ProgressWeight(0), 0);
    EXPECT_EQ(ProgressWeight(7), 60);
    EXPECT_EQ(ProgressWeight(10), 0);
    EXPECT_EQ(ProgressWeight(156), 1);
    EXPECT_EQ(ProgressWeight(167), 100);
    EXPECT_EQ(ProgressWeight(190), 100);
    EXPECT_EQ(ProgressWeight(191), 0);
    EXPECT_EQ(ProgressTotal(Items({1, 7, 104, 155})), 1 + 60 + 100 + 1);
    ItemBytes all;
    all.fill(1);
    EXPECT_EQ(ProgressTotal(all), 4233); // the 16-bit total of "Alles importieren"

    EXPECT_EQ(ItemTag(79), 11 | (11 << 8));
    EXPECT_EQ(ItemTag(176), 168 | (8 << 8));
    EXPECT_EQ(ItemTag(157), 13);
    EXPECT_EQ(ItemTag(1), 0);
    EXPECT_EQ(RowItems(13), (std::array<int, 8>{13, 24, 35, 46, 57, 68, 106, 180}));
    EXPECT_FALSE(IsItemVisible(9));
    EXPECT_FALSE(IsItemVisible(167));
    EXPECT_EQ(ItemCaptionText(1), 470);
    EXPECT_EQ(ItemCaptionText(100), 439);
    EXPECT_EQ(ItemCaptionText(198), 1143);
    EXPECT_EQ(ItemCaptionText(11), -1);
}

TEST(SelectionDialog, SelectAllAndRowBoxesTouchOnlyEnabledBoxes)
{
    SelectionDialogModel d;
    d.prepareExport(Items({13, 24, 46, 180}), false);
    d.click(157); // row box of team 3
    EXPECT_EQ(Selected(d.readSelection()), (std::vector<int>{13, 24, 46, 157, 180}));
    d.click(157);
    EXPECT_EQ(Selected(d.readSelection()), std::vector<int>{});

    d.click(79); // all software car liveries: only team 3's is offered
    EXPECT_EQ(Selected(d.readSelection()), (std::vector<int>{13, 79}));
    d.click(13); // a disabled box does not react
    d.click(12);
    EXPECT_EQ(Selected(d.readSelection()), (std::vector<int>{79}));

    d.clickAll();
    EXPECT_EQ(Selected(d.readSelection()),
              (std::vector<int>{13,  24,  46,  79,  80,  81,  82,  83,  84,  101, 115, 137, 154, 155,
                                156, 157, 158, 159, 160, 161, 162, 163, 164, 165, 166, 176, 177, 180}));
}

TEST(SelectionDialog, ImportAndExportOffers)
{
    SelectionDialogModel d;
    for (int n = 1; n <= kLastItem; ++n)
        d.box(n).checked = true;
    // From the game: no track files, no track JAMs, and v1.00 has no
    // American, Polish or Portuguese texts and LCD displays.
    d.prepareImport({}, false, 1);
    auto s = d.readSelection();
    EXPECT_FALSE(s[85] || s[100] || s[173] || s[174] || s[175] || s[167] || s[9]);
    EXPECT_FALSE(s[196] || s[197] || s[198]);
    EXPECT_TRUE(s[1] && s[172] && s[191] && s[195]);
    for (int n = 1; n <= kLastItem; ++n)
        EXPECT_EQ(ItemInGameVersion(n, 2), true) << n;
    EXPECT_FALSE(d.box(90).enabled);

    // From a carset: exactly what it holds; tagged boxes stay usable.
    d.prepareImport(Items({1, 85}), true, 2);
    d.click(85); // unchecked by the import from the game above
    EXPECT_TRUE(d.box(85).enabled);
    EXPECT_FALSE(d.box(2).enabled);
    EXPECT_TRUE(d.box(101).enabled);
    // On v1.00 a carset's displays of the three later languages still load,
    // its texts of them do not.
    SelectionDialogModel old;
    old.prepareImport(Items({173, 196, 197}), true, 1);
    EXPECT_TRUE(old.box(196).enabled && old.box(197).enabled);
    EXPECT_FALSE(old.box(173).enabled || old.box(198).enabled);
    EXPECT_TRUE(d.readSelection()[1]);
    EXPECT_TRUE(d.readSelection()[85]);
    EXPECT_FALSE(d.readSelection()[2]);

    // Saving a carset offers a track file whose track information is loaded.
    SelectionDialogModel save;
    save.prepareExport(Items({1, 140}), true);
    EXPECT_TRUE(save.box(87).enabled);
    EXPECT_FALSE(save.box(86).enabled);
    SelectionDialogModel toGame;
    toGame.prepareExport(Items({1, 140}), false);
    EXPECT_FALSE(toGame.box(87).enabled);
}

TEST(SelectionDialog, ItemsNoAreaCarriesAreNeverOffered)
{
    SelectionDialogModel d;
    ItemBytes carried{};
    carried[1] = carried[11] = 1;
    d.setCarried(carried);
    ItemBytes everything{};
    everything.fill(1);
    for (bool carset : {false, true}) {
        d.prepareImport(everything, carset, 2);
        d.clickAll();
        ItemBytes chosen = d.readSelection();
        for (int n = 1; n <= kLastItem; ++n) {
            if (IsDataItem(n)) {
                EXPECT_EQ(chosen[static_cast<std::size_t>(n)] != 0, n == 1 || n == 11) << n << " carset " << carset;
            }
        }
        d.clickAll();
    }
    d.prepareExport(everything, true);
    EXPECT_FALSE(d.box(2).enabled);
    EXPECT_FALSE(d.box(85).enabled); // a track file, offered with its information otherwise
    EXPECT_TRUE(d.box(1).enabled);
}
