#include "app/WindowPosition.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace pitwall;

TEST(WindowPosition, KeptBesideTheOtherSettingsAndReadBackWithinReason)
{
    test::TempDir dir;
    const std::string ini = dir / "PITWALL.INI";
    EXPECT_FALSE(ReadMainWindowPosition(ini)); // no file
    {
        std::ofstream out(ini, std::ios::binary);
        out << "[General]\r\nGP3Path=C:\\GP3\\\r\n[Window]\r\nMainLeft=12\r\n";
    }
    EXPECT_FALSE(ReadMainWindowPosition(ini)); // one key alone says nothing
    WriteMainWindowPosition(ini, {-1200, 40}); // a screen left of the primary one
    EXPECT_EQ(ReadMainWindowPosition(ini), (WindowPosition{-1200, 40}));
    {
        // Closed before the next write: Windows replaces no file a reader holds open.
        std::ifstream in(ini, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), {});
        EXPECT_NE(text.find("GP3Path=C:\\GP3\\"), std::string::npos); // the rest stays
    }
    WriteMainWindowPosition(ini, {5, 999999});
    EXPECT_FALSE(ReadMainWindowPosition(ini)); // no desktop is that large
}
