#include "base/DelphiFormat.h"

#include <gtest/gtest.h>

using namespace pitwall;

TEST(DelphiFormat, PlaceholdersOfLanguageFiles)
{
    EXPECT_EQ(FormatText("Team %d", Args(3)), "Team 3");
    EXPECT_EQ(FormatText("File not found: %s", Args("C:\\GP3\\GP3.EXE")), "File not found: C:\\GP3\\GP3.EXE");
    EXPECT_EQ(FormatText("%d MB needed, %d MB free", Args(6, 3)), "6 MB needed, 3 MB free");
    EXPECT_EQ(FormatText("100%% done", {}), "100% done");
    EXPECT_EQ(FormatText("%u", Args(-1)), "4294967295");
    EXPECT_EQ(FormatText("%x %X %.4x", Args(255, 255, 10)), "FF FF 000A");
    EXPECT_EQ(FormatText("%x", Args(-1)), "FFFFFFFF");
    EXPECT_EQ(FormatText("%.3d|%3d|%-3d|", Args(7, 7, 7)), "007|  7|7  |");
    EXPECT_EQ(FormatText("%.2f %.0f %.0f %f %.1f", Args(1.25, 2.5, -2.5, 3.0, 9.96)), "1.25 3 -3 3.00 10.0");
    EXPECT_EQ(FormatText("%n", Args(1234567.891)), "1,234,567.89");
    EXPECT_EQ(FormatText("%.3s", Args("abcdef")), "abc");
    EXPECT_EQ(FormatText("%*d", Args(4, 5)), "   5");
    EXPECT_EQ(FormatText("%e", Args(1000.0)), "1.00000000000000E+003");
    EXPECT_EQ(FormatText("%g", Args(0.5)), "0.5");
    EXPECT_EQ(FormatText("%D %S", Args(1, "x")), "1 x");
    NumberFormat german{',', '.'};
    EXPECT_EQ(FormatText("%.1f", Args(2.25), german), "2,3");
}

TEST(DelphiFormat, IndexedArgumentsLetTranslatorsReorder)
{
    EXPECT_EQ(FormatText("%1:s %0:s", Args("a", "b")), "b a");
    // After an index the following placeholders continue from it.
    EXPECT_EQ(FormatText("%1:s %s %0:s %s", Args("a", "b", "c")), "b c a b");
    EXPECT_EQ(FormatText("%0:s%0:s", Args("x")), "xx");
}

TEST(DelphiFormat, BadFormatsAreErrorsNotCrashes)
{
    EXPECT_THROW(FormatText("%d", {}), FormatTextError);
    EXPECT_THROW(FormatText("%d", Args("text")), FormatTextError);
    EXPECT_THROW(FormatText("%s", Args(1)), FormatTextError);
    EXPECT_THROW(FormatText("%f", Args(1)), FormatTextError);
    EXPECT_THROW(FormatText("%", {}), FormatTextError);
    EXPECT_THROW(FormatText("%q", Args(1)), FormatTextError);
    EXPECT_THROW(FormatText("%5:s", Args("a")), FormatTextError);
    EXPECT_THROW(FormatText("%99999999999d", Args(1)), FormatTextError);
    // Widths and precisions from the arguments have the same limit.
    EXPECT_THROW(FormatText("%*d", Args(2000000000, 5)), FormatTextError);
    EXPECT_THROW(FormatText("%.*d", Args(2000000000, 5)), FormatTextError);
    EXPECT_THROW(FormatText("%.", {}), FormatTextError);
    // Wide placeholders over one argument, repeated through a line of 63 KB,
    // would ask for 700 MB.
    std::string wide;
    for (int i = 0; i < 7000; ++i)
        wide += "%0:99999d";
    EXPECT_THROW(FormatText(wide, Args(1)), FormatTextError);
    EXPECT_EQ(FormatText("%0:99999d%0:99999d", Args(1)).size(), 199998u);
}
