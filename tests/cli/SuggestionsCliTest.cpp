#include "CliRunner.h"

#include <gtest/gtest.h>

using namespace pitwall;

TEST(SuggestionsCli, MistypedCommandsAndOptionsNameTheNearest)
{
    struct Case {
        std::vector<std::string> args;
        const char* said;
    };
    const Case cases[] = {
        {{"improt"}, "unknown command 'improt': did you mean 'import'?"},
        {{"teams", "shwo", "--game", "G"}, "unknown command 'shwo': did you mean 'show'?"},
        {{"import", "--gmae", "G", "--items", "1", "-o", "x.GMS"}, "unknown option '--gmae': did you mean '--game'?"},
        {{"import", "--game", "G", "--itmes=1", "-o", "x.GMS"}, "unknown option '--itmes=1': did you mean '--items'?"},
        {{"carset", "list", "x.GMS", "--quite"}, "did you mean '--quiet'?"}, // a global option after the command
    };
    for (const auto& c : cases) {
        auto r = test::RunCommand(c.args);
        EXPECT_EQ(r.code, 2) << c.args[0];
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    }
    // Nothing near: the parser's own message; a known command with a
    // missing option is not taken for a typing slip.
    auto far = test::RunCommand({"frobnicate"});
    EXPECT_EQ(far.code, 2);
    EXPECT_EQ(far.err.find("did you mean"), std::string::npos) << far.err;
    auto missing = test::RunCommand({"import", "--items", "1"});
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(missing.err.find("did you mean"), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("--output"), std::string::npos) << missing.err;
}
