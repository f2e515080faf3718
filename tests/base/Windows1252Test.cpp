#include "base/Windows1252.h"

#include <gtest/gtest.h>

using namespace pitwall;

TEST(Windows1252, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 1; b <= 255; ++b)
        all += static_cast<char>(b);
    std::string utf8 = Windows1252ToUtf8(all);
    EXPECT_EQ(Utf8ToWindows1252(utf8), all);
}

TEST(Windows1252, MapsTheCodePageAndItsGaps)
{
    EXPECT_EQ(Windows1252ToUtf8("\x80"), "\u20AC");
    EXPECT_EQ(Windows1252ToUtf8("\xE4\xF6\xFC\xDF"), "äöüß");
    EXPECT_EQ(Windows1252ToUtf8("\x81"), "\u0081"); // undefined in the code page
    EXPECT_EQ(Utf8ToWindows1252("ESPAñOL"), "ESPA\xF1OL");
    EXPECT_EQ(Utf8ToWindows1252("Stra\u00DFe \u20AC"),
              "Stra\xDF"
              "e \x80");
    // Characters the code page lacks and broken UTF-8 become '?'.
    EXPECT_EQ(Utf8ToWindows1252("\u4E2D"), "?");
    EXPECT_EQ(Utf8ToWindows1252("a\xC3"), "a?");
    EXPECT_EQ(Utf8ToWindows1252("\xFF"
                                "b"),
              "?b");
}

TEST(Windows1252, CaseInsensitiveComparison)
{
    EXPECT_TRUE(EqualsIgnoreCase("DnDTeams", "DNDTEAMS"));
    EXPECT_TRUE(EqualsIgnoreCase("fran\xE7"
                                 "ais",
                                 "FRAN\xC7"
                                 "AIS"));
    EXPECT_FALSE(EqualsIgnoreCase("abc", "abd"));
    EXPECT_FALSE(EqualsIgnoreCase("\xF7", "\xD7")); // division and multiplication signs are no pair
}

TEST(Windows1252, MessagesShowPathsOnceEncoded)
{
    // "Datei " + a UTF-8 path + " für " in Windows-1252 (ü = FC).
    std::string message = "Datei /home/j\xC3\xBCrgen/LDATA/ESPA\xC3\xB1OL.str f\xFCr \xE4\x80 \xE6\x97\xA5";
    EXPECT_EQ(MessageTextToUtf8(message),
              "Datei /home/j\xC3\xBCrgen/LDATA/ESPA\xC3\xB1OL.str f\xC3\xBCr \xC3\xA4\xE2\x82\xAC \xE6\x97\xA5");
    // Pure Windows-1252 text converts as it always did.
    EXPECT_EQ(MessageTextToUtf8("Gr\xF6\xDF"
                                "e \x80"),
              Windows1252ToUtf8("Gr\xF6\xDF"
                                "e \x80"));
    // Overlong and surrogate forms are not paths' characters.
    EXPECT_EQ(MessageTextToUtf8("\xC0\xAF"), Windows1252ToUtf8("\xC0\xAF"));
    EXPECT_EQ(MessageTextToUtf8("\xED\xA0\x80"), Windows1252ToUtf8("\xED\xA0\x80"));
}
