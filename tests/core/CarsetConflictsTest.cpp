#include "TestSupport.h"

#include "app/ProgramState.h"
#include "session/ConflictWords.h"
#include "teams/TeamsGameFiles.h"
#include "transfer/CarsetConflicts.h"

#include <gtest/gtest.h>

using namespace pitwall;

namespace pitwall {
static bool operator==(const ByteRange& a, const ByteRange& b) { return a.offset == b.offset && a.length == b.length; }
} // namespace pitwall

namespace {

FileChange Change(const std::string& path, std::vector<ItemChange> items)
{
    FileChange c;
    c.relativePath = path;
    c.items = std::move(items);
    return c;
}

// English texts for the numbers the words use.
UITexts ConflictTexts()
{
    std::vector<std::string> texts(UITexts::kHighestNumber + 1, "-");
    texts[1216] = "both change team %d's drivers";
    texts[1217] = "both change team %d's name or engine";
    texts[1219] = "both change the pit order";
    texts[1223] = "both change %s: %s, bytes %s";
    UITexts t;
    t.assign(std::move(texts), "");
    return t;
}

} // namespace

TEST(CarsetConflicts, RangesIntersectWhateverTheirOrder)
{
    using R = std::vector<ByteRange>;
    EXPECT_EQ(IntersectRanges({{10, 10}, {0, 4}}, {{2, 10}, {19, 1}}), (R{{2, 2}, {10, 2}, {19, 1}}));
    // Overlapping ranges of one side count once; touching is no overlap.
    EXPECT_EQ(IntersectRanges({{0, 8}, {4, 8}}, {{6, 2}}), (R{{6, 2}}));
    EXPECT_TRUE(IntersectRanges({{0, 4}}, {{4, 4}, {0, 0}}).empty());
    EXPECT_EQ(RangeText({{0x10, 1}, {0x20, 4}}), "0x10, 0x20-0x23");
}

TEST(CarsetConflicts, PairsShareItemsAndBytesButNotTheChecksum)
{
    CarsetChanges a, b, c;
    a.items[1] = b.items[1] = b.items[116] = c.items[116] = 1;
    a.changes = {Change("GP3.EXE", {{1, {{100, 10}}}}), Change("F1GSTATE.SAV", {{0, {{0, 4}}}, {1, {{50, 2}}}})};
    b.changes = {Change("gp3.exe", {{1, {{105, 10}}}}), Change("F1GSTATE.SAV", {{0, {{0, 4}}}, {1, {{60, 2}}}}),
                 Change("SAMPLES/GP3SOUND.DAT", {{116, {{0, 99}}}})};
    c.changes = {Change("SAMPLES/GP3SOUND.DAT", {{116, {{98, 1}}}})};
    auto pairs = FindCarsetConflicts({a, b, c});
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ(pairs[0].sharedItems, std::vector<int>{1});
    ASSERT_EQ(pairs[0].overlaps.size(), 1u); // the same file however spelled; the checksum is left out
    EXPECT_EQ(pairs[0].overlaps[0].ranges, (std::vector<ByteRange>{{105, 5}}));
    EXPECT_FALSE(pairs[1].overlapping()); // a and c
    EXPECT_TRUE(pairs[1].sharedItems.empty());
    EXPECT_EQ(pairs[2].sharedItems, std::vector<int>{116});
    ASSERT_TRUE(pairs[2].overlapping());
    EXPECT_EQ(pairs[2].overlaps[0].firstItem, 116);
}

TEST(CarsetConflicts, TeamsBytesAreNamedForTheTeamTheyBelongTo)
{
    // v1.13: car numbers at 0x73B7EA by driver, the pit order at 0x73CA04;
    // savegame format 1: 22 driver names of 24 bytes at 0x15518, then the team names.
    EXPECT_EQ(TeamsBytesAt(false, 0x73B7EA + 5, 1, 2, 1), (std::vector<TeamsBytes>{{TeamsPart::Drivers, 2}}));
    EXPECT_EQ(TeamsBytesAt(false, 0x73B7EA + 3, 2, 2, 1),
              (std::vector<TeamsBytes>{{TeamsPart::Drivers, 1}, {TeamsPart::Drivers, 2}}));
    EXPECT_EQ(TeamsBytesAt(false, 0x73CA04 + 10, 4, 2, 1), (std::vector<TeamsBytes>{{TeamsPart::PitOrder, 0}}));
    EXPECT_EQ(TeamsBytesAt(true, 0x15518 + 22 * 24 + 13, 1, 2, 1),
              (std::vector<TeamsBytes>{{TeamsPart::NameEngine, 1}}));
    EXPECT_TRUE(TeamsBytesAt(false, 0x10, 100, 2, 1).empty());
    EXPECT_TRUE(TeamsBytesAt(false, 0x73B7EA, 1, 0, 1).empty()); // unknown version

    ProgramState program;
    program.texts = ConflictTexts();
    program.gameVersion = 2;
    program.savegameFormat = 1;
    // Team by team across both files, each thing once, the pit order after
    // the teams; bytes outside the teams data by their file and ranges.
    const std::vector<ItemOverlap> overlaps = {
        {"GP3.EXE", 1, 1, {{0x20, 2}, {0x73CA04, 1}, {0x73B7EA + 20, 1}, {0x73B7EA + 4, 2}}},
        {"F1GSTATE.SAV", 1, 1, {{0x15518 + 22 * 24 + 13, 1}, {0x15518 + 4 * 24, 1}}},
    };
    EXPECT_EQ(OverlapWords(overlaps, program),
              (std::vector<std::string>{"both change team 2's name or engine", "both change team 3's drivers",
                                        "both change team 11's drivers", "both change the pit order",
                                        "both change -: GP3.EXE, bytes 0x20-0x21"}));
}
