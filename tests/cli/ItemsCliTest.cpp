#include "CliRunner.h"
#include "TestSupport.h"

#include "ItemNames.h"
#include "transfer/SelectionItems.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

using namespace pitwall;

namespace {

std::vector<int> Selected(const ItemBytes& items)
{
    std::vector<int> numbers;
    for (int n = 0; n < kItemCount; ++n)
        if (items[static_cast<std::size_t>(n)])
            numbers.push_back(n);
    return numbers;
}

struct Texts {
    std::ostringstream out, err;
    cli::CliContext context{out, err, PITWALL_RUNTIME_DIR "/"};
};

} // namespace

TEST(ItemsCli, ListsEveryItemWithGroupAndDialogName)
{
    auto json = test::RunCommand({"items", "--json"});
    ASSERT_EQ(json.code, 0) << json.err;
    EXPECT_EQ(json.err, "");
    auto doc = nlohmann::json::parse(json.out);
    ASSERT_EQ(doc["items"].size(), 198u);
    std::set<std::string> names;
    for (const auto& item : doc["items"]) {
        EXPECT_TRUE(item["number"].is_number());
        names.insert(item["name"].get<std::string>());
        EXPECT_EQ(item["name"].get<std::string>().find('#'), std::string::npos) << item.dump(); // every box named
    }
    EXPECT_EQ(names.size(), 198u); // a name picks one item
    EXPECT_EQ(doc["items"][0]["name"], "Teams and drivers");
    EXPECT_EQ(doc["items"][0]["group"], "teams");
    EXPECT_EQ(doc["items"][115]["name"], "Sounds");
    EXPECT_EQ(doc["items"][78]["name"], "All: Car SW"); // a select-all box, in the graphics group
    EXPECT_EQ(doc["items"][78]["group"], "graphics");
    EXPECT_TRUE(doc["items"][155]["group"].is_null()); // a team's row box covers graphics and menu items
    EXPECT_EQ(doc["groups"]["settings"], nlohmann::json({2, 3, 4, 103, 119, 120}));

    // Every item that carries data is in exactly one group besides "all".
    std::vector<int> seen(kLastItem + 1, 0);
    for (const auto& [name, items] : doc["groups"].items())
        if (name != "all")
            for (int n : items)
                ++seen[static_cast<std::size_t>(n)];
    for (int n = 1; n <= kLastItem; ++n)
        EXPECT_EQ(seen[static_cast<std::size_t>(n)], IsDataItem(n) ? 1 : 0) << "item " << n;

    auto text = test::RunCommand({"items"});
    ASSERT_EQ(text.code, 0);
    EXPECT_NE(text.out.find("116\tsounds\tSounds\n"), std::string::npos);
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 198);
}

TEST(ItemsCli, ItemListsTakeNumbersRangesNamesAndGroups)
{
    Texts t;
    const UITexts& texts = t.context.texts;
    EXPECT_EQ(Selected(cli::ParseItemList("teams,settings", texts)),
              Selected(cli::ParseItemList("1,2,3,4,103,119,120", texts)));
    EXPECT_EQ(Selected(cli::ParseItemList("5-7, SOUNDS ,teams and drivers", texts)),
              (std::vector<int>{1, 5, 6, 7, 116}));
    // Names with a comma in them, however the list spaces it.
    EXPECT_EQ(Selected(cli::ParseItemList("Cockpit graphics, software,Car SW,Team no. 3,2", texts)),
              (std::vector<int>{2, 7, 13}));
    EXPECT_EQ(Selected(cli::ParseItemList("all", texts)).size(), 198u);
    EXPECT_EQ(Selected(cli::ParseItemList("track-pictures", texts)).front(), 121);
    // A select-all or row box chooses what it checks in the dialog, by
    // number or by name; no area reads the box's own byte.
    EXPECT_EQ(Selected(cli::ParseItemList("79", texts)), Selected(cli::ParseItemList("11-21", texts)));
    EXPECT_EQ(Selected(cli::ParseItemList(cli::ItemName(101, texts), texts)),
              Selected(cli::ParseItemList("85-100", texts)));
    const std::vector<int> row = Selected(cli::ParseItemList("155", texts));
    EXPECT_EQ(std::count(row.begin(), row.end(), 155), 0);
    EXPECT_EQ(std::count(row.begin(), row.end(), 11), 1);
    EXPECT_EQ(std::count(row.begin(), row.end(), 22), 1);

    // Wrong usage, as an option's value out of range is. Item 9 has no box
    // in the dialog: on its own it is no item; a range over it is still one.
    EXPECT_NO_THROW(cli::ParseItemList("8-10", texts));
    for (const char* bad : {"teams,sonds", "1,,2", "0", "5-199", "9-5", "9", "1,9", "9-9"})
        EXPECT_THROW(cli::ParseItemList(bad, texts), CLI::ValidationError) << bad;
    try {
        cli::ParseItemList("teams,sonds", texts);
    } catch (const CLI::ValidationError& e) {
        EXPECT_NE(std::string(e.what()).find("'sonds'"), std::string::npos) << e.what();
    }
}

TEST(ItemsCli, ImportByGroupsSavesWhatTheNumbersSave)
{
    test::TempDir dir;
    std::string game = dir / "G";
    test::MakeDemo(game, 2, 1);
    auto byGroup = test::RunCommand({"import", "--game", game, "--items", "teams,settings", "-o", dir / "a.GMS"});
    ASSERT_EQ(byGroup.code, 0) << byGroup.err;
    auto byNumber = test::RunCommand({"import", "--game", game, "--items", "1,2,3,4,103,119,120", "-o", dir / "b.GMS"});
    ASSERT_EQ(byNumber.code, 0) << byNumber.err;
    auto a = test::RunCommand({"carset", "list", dir / "a.GMS"});
    auto b = test::RunCommand({"carset", "list", dir / "b.GMS"});
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out.find("  120  Cameras"), std::string::npos) << a.out;

    auto unknown = test::RunCommand({"import", "--game", game, "--items", "teams,improt", "-o", dir / "c.GMS"});
    EXPECT_NE(unknown.code, 0);
    EXPECT_NE(unknown.err.find("'improt'"), std::string::npos) << unknown.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "c.GMS"));
    auto hidden = test::RunCommand({"import", "--game", game, "--items", "9", "-o", dir / "c.GMS"});
    EXPECT_EQ(hidden.code, 2);
    EXPECT_NE(hidden.err.find("unknown item '9'"), std::string::npos) << hidden.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "c.GMS"));
}
