#include "JsonOutput.h"

#include <gtest/gtest.h>

using namespace pitwall::cli;

TEST(JsonOutput, GameTextIsUtf8WithRawBytesOnlyWhereOthersWouldNotReadThemBack)
{
    Json object;
    SetGameText(object, "name", "Gr\xFC\xDF" "e \x80");
    EXPECT_EQ(object["name"], "Grüße €");
    EXPECT_FALSE(object.contains("nameRaw"));

    // An undefined byte and a control character keep their bytes in hex.
    SetGameText(object, "engine", std::string("A\x81" "B\x01", 4));
    EXPECT_EQ(object["engineRaw"], "41814201");

    EXPECT_EQ(GameTextValue("Monza"), Json("Monza"));
    Json odd = GameTextValue("\x9D");
    EXPECT_EQ(odd["raw"], "9d");
    EXPECT_EQ(odd["text"], "\xC2\x9D");
}
