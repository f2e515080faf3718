#include "app/ManualIndex.h"

#include <gtest/gtest.h>

using namespace pitwall;

TEST(ManualIndex, MapsWindowsToPlainPageNamesOnly)
{
    const ManualIndex index = ManualIndex::Parse("# window\tpage\r\n"
                                                 "TForm12\tteams.html\r\n"
                                                 "TForm13 \t tracks.html\n"
                                                 "\n"
                                                 "TForm1\n"                 // no page
                                                 "Evil1\t../../etc/x.html\n" // out of the folder
                                                 "Evil2\tsub/page.html\n"
                                                 "Evil3\tC:page.html\n"
                                                 "Evil4\tpage.txt\n"
                                                 "TForm14\tgraphics.html"); // last line without an end
    EXPECT_EQ(index.size(), 3u);
    EXPECT_EQ(index.pageFor("TForm12"), "teams.html");
    EXPECT_EQ(index.pageFor("TForm13"), "tracks.html");
    EXPECT_EQ(index.pageFor("TForm14"), "graphics.html");
    for (const char* name : {"TForm1", "Evil1", "Evil2", "Evil3", "Evil4", "", "Unknown"})
        EXPECT_EQ(index.pageFor(name), kManualContentsPage) << name;
}

TEST(ManualIndex, MissingFileGivesTheContentsForEveryWindow)
{
    const ManualIndex index = ManualIndex::Read("/nonexistent/pitwall/manual/windows.tsv");
    EXPECT_EQ(index.size(), 0u);
    EXPECT_EQ(index.pageFor("TForm12"), "index.html");
}
