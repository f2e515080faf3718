// Text written by whoever made a carset or game file reaches the terminal
// only with its control characters escaped.

#include "CliRunner.h"
#include "TestSupport.h"

#include "TerminalText.h"
#include "base/GamePath.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetHeader.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace pitwall;

namespace {

constexpr char kEsc = '\x1B';
// U+009D (OSC) in UTF-8, which Windows-1252 byte 0x9D becomes.
constexpr std::string_view kOsc = "\xC2\x9D";

bool HasControls(const std::string& printed)
{
    if (printed.find(kOsc) != std::string::npos)
        return true;
    return std::any_of(printed.begin(), printed.end(),
                       [](char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == '\x7F'; });
}

void Replace(std::vector<std::uint8_t>& bytes, std::string_view from, std::string_view to)
{
    ASSERT_EQ(from.size(), to.size());
    auto at = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
    ASSERT_NE(at, bytes.end()) << from;
    std::copy(to.begin(), to.end(), at);
}

} // namespace

TEST(TerminalText, EscapesControlsBackslashesAndBrokenUtf8)
{
    using cli::TerminalGameText;
    using cli::TerminalLine;
    using cli::TerminalText;
    EXPECT_EQ(TerminalText("Sch\xC3\xBCmi \xE2\x82\xAC"), "Sch\xC3\xBCmi \xE2\x82\xAC"); // ü and € stay
    EXPECT_EQ(TerminalText("a\x1B[2Jb\x7F\t\n"), "a\\x1B[2Jb\\x7F\\x09\\x0A");
    EXPECT_EQ(TerminalText("C:\\GP3 \\x1B"), "C:\\\\GP3 \\\\x1B"); // a typed "\x1B" is not an ESC
    EXPECT_EQ(TerminalText("\xC2\x9B"
                           "2J \xC2\xA0"),
              "\\x9B2J \xC2\xA0");                                                  // C1 CSI; no-break space stays
    EXPECT_EQ(TerminalText("\xFF\xC0\xAF \xE2\x82"), "\\xFF\\xC0\\xAF \\xE2\\x82"); // not UTF-8
    // Game text: 0x9D is undefined in Windows-1252 and becomes the C1 OSC;
    // 0x80 is the euro sign.
    EXPECT_EQ(TerminalGameText("\x9D"
                               "0;x\x07 \x80"),
              "\\x9D0;x\\x07 \xE2\x82\xAC");
    // Messages: line breaks are spaces, paths keep their backslashes, and a
    // second pass changes nothing.
    const std::string line = TerminalLine("File GP3JAMS\\A.JAM\r\nnot found \x1B]0;x\x07");
    EXPECT_EQ(line, "File GP3JAMS\\A.JAM  not found \\x1B]0;x\\x07");
    EXPECT_EQ(TerminalLine(line), line);
    // Game paths keep their separators.
    EXPECT_EQ(cli::TerminalGamePath("GP3JAMS\\A\x1B.JAM\n"), "GP3JAMS\\A\\x1B.JAM\\x0A");
}

TEST(TerminalText, CarsetInfoAndMemberNamesAreEscaped)
{
    test::TempDir dir;
    const std::string carset = dir / "evil.GMS";
    {
        CarsetArchive archive(carset, CarsetArchive::Mode::Create);
        CarsetHeader header;
        header.items[1] = 1;
        archive.addBytes(kHeaderMember, CarsetHeaderImage(header));
        std::string info = "v1.0\r\n\x1B]0;owned\x07\r\n-\r\n0\r\n";
        for (int i = 0; i < 6; ++i)
            info += "RESERVED\r\n";
        info += "\x1B[2J\x9D\r\n";
        archive.addBytes(kInfoMember, std::vector<std::uint8_t>(info.begin(), info.end()));
        // A name that would print as a line of its own.
        archive.addBytes("x  1\n  TeamsDrivers.DAT", {1, 2, 3});
        archive.close();
    }

    auto list = test::RunCommand({"carset", "list", carset});
    ASSERT_EQ(list.code, 0) << list.err;
    EXPECT_FALSE(HasControls(list.out)) << list.out;
    EXPECT_NE(list.out.find("  x  1\\x0A  TeamsDrivers.DAT  3\n"), std::string::npos) << list.out;

    auto info = test::RunCommand({"carset", "info", carset});
    ASSERT_EQ(info.code, 0) << info.err;
    EXPECT_FALSE(HasControls(info.out)) << info.out;
    EXPECT_NE(info.out.find("author: \\x1B]0;owned\\x07\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("name: \\x1B[2J\\x9D\n"), std::string::npos) << info.out;
    // As JSON the bytes are kept beside the text.
    auto json = test::RunCommand({"carset", "info", carset, "--json"});
    ASSERT_EQ(json.code, 0) << json.err;
    EXPECT_EQ(nlohmann::json::parse(json.out)["nameRaw"], "1b5b324a9d");
}

TEST(TerminalText, TeamNamesAndTrackInformationAreEscaped)
{
    test::TempDir dir;
    const std::string game = dir / "game", per = dir / "teams.PER";
    test::MakeDemo(game);
    ASSERT_EQ(test::RunCommand({"teams", "per-export", "--game", game, per, "--quiet"}).code, 0);
    auto perBytes = test::ReadBytes(per);
    const std::string perText(perBytes.begin(), perBytes.end());
    const std::size_t name = perText.find("[TNAME]");
    ASSERT_NE(name, std::string::npos);
    const std::size_t value = perText.find('=', name) + 1;
    Replace(perBytes, perText.substr(value, 6), std::string("\x1B[2J\x9D") + "!");
    test::WriteBytes(per, perBytes);
    ASSERT_EQ(test::RunCommand({"teams", "per-import", "--game", game, per, "--quiet"}).code, 0);
    auto teams = test::RunCommand({"teams", "show", "--game", game, "--quiet"});
    ASSERT_EQ(teams.code, 0) << teams.err;
    EXPECT_FALSE(HasControls(teams.out)) << teams.out;
    EXPECT_NE(teams.out.find("\\x1B[2J\\x9D!"), std::string::npos) << teams.out;

    const std::string track = ResolveGamePath(game + "/", "CIRCUITS\\F1CT14.DAT");
    auto trackBytes = test::ReadBytes(track);
    Replace(trackBytes, "Monza", "\x1B[1A\x08");
    Replace(trackBytes, "MONZA.JAM", "\x9D\x1B]2;x\x07\\J");
    test::WriteBytes(track, trackBytes);
    auto info = test::RunCommand({"track", "info", track});
    ASSERT_EQ(info.code, 0) << info.err;
    EXPECT_FALSE(HasControls(info.out)) << info.out;
    EXPECT_NE(info.out.find("NAME: \\x1B[1A\\x08\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("  GP3JAMS\\\\x9D\\x1B]2;x\\x07\\J\n"), std::string::npos) << info.out;
}
