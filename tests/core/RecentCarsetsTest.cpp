#include "TestSupport.h"

#include "app/RecentCarsets.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace pitwall;

TEST(RecentCarsets, NewestFirstEachOnceAtMostEight)
{
    std::vector<std::string> recent;
    for (int i = 1; i <= 9; ++i)
        recent = WithRecentCarset(recent, "set" + std::to_string(i) + ".gms");
    ASSERT_EQ(recent.size(), 8u);
    EXPECT_EQ(recent.front(), "set9.gms");
    EXPECT_EQ(recent.back(), "set2.gms");
    recent = WithRecentCarset(recent, "set5.gms"); // opened again: moves up
    EXPECT_EQ(recent.size(), 8u);
    EXPECT_EQ(recent[0], "set5.gms");
    EXPECT_EQ(recent[1], "set9.gms");
    EXPECT_EQ(std::count(recent.begin(), recent.end(), "set5.gms"), 1);
}

TEST(RecentCarsets, KeptInTheSettingsFileBesideTheSettings)
{
    test::TempDir dir;
    const std::string ini = dir / "PITWALL.INI";
    EXPECT_TRUE(ReadRecentCarsets(ini).empty());
    test::WriteText(ini,
                    "[General]\r\nGP3Path=/games/gp3/\r\n[RecentCarsets]\r\nFile1=/a.gms\r\nFile2=/a.gms\r\n"
                    "File3=/b.gms\r\n");
    EXPECT_EQ(ReadRecentCarsets(ini), (std::vector<std::string>{"/a.gms", "/b.gms"}));
    EXPECT_TRUE(RememberRecentCarset(ini, "/b.gms"));
    EXPECT_EQ(ReadRecentCarsets(ini), (std::vector<std::string>{"/b.gms", "/a.gms"}));
    const std::string text = test::ReadText(ini);
    EXPECT_NE(text.find("GP3Path=/games/gp3/"), std::string::npos);
    EXPECT_EQ(text.find("File3"), std::string::npos);

    EXPECT_FALSE(RememberRecentCarset(dir / "missing-folder/PITWALL.INI", "/c.gms"));
}
