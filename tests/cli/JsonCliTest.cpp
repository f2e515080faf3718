// --json of the showing commands: one document on stdout that parses and
// holds what the text output shows; errors as {"error": ...}.

#include "CliRunner.h"
#include "TestSupport.h"

#include "base/GamePath.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

using namespace pitwall;
using nlohmann::json;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// The values of a document, as the text shows them, one after another in `text`.
::testing::AssertionResult ShownInOrder(const std::string& text, const std::vector<json>& values)
{
    std::size_t at = 0;
    for (const json& v : values) {
        const std::string shown = v.is_string() ? v.get<std::string>() : v.dump();
        at = text.find(shown, at);
        if (at == std::string::npos)
            return ::testing::AssertionFailure() << shown << " not shown in order in\n" << text;
        at += shown.size();
    }
    return ::testing::AssertionSuccess();
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct Shown {
    std::string text;
    json doc;
};

// The command's text and its --json document; both runs succeed, and the
// JSON run's stdout is the document alone (progress stays on stderr).
Shown Show(std::vector<std::string> args)
{
    auto text = test::RunCommand(args);
    EXPECT_EQ(text.code, 0) << text.err;
    args.push_back("--json");
    auto doc = test::RunCommand(args);
    EXPECT_EQ(doc.code, 0) << doc.err;
    return {text.out, json::parse(doc.out)};
}

void Replace(std::vector<std::uint8_t>& bytes, const std::string& from, const std::string& to)
{
    auto at = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
    ASSERT_NE(at, bytes.end()) << from;
    std::copy(to.begin(), to.end(), at);
}

class JsonCli : public ::testing::Test {
protected:
    void SetUp() override { test::MakeDemo(game, 2, 1); }
    test::TempDir dir;
    const std::string game = dir / "game";
};

} // namespace

TEST_F(JsonCli, InfoAndChecksumHoldTheShownValues)
{
    auto info = Show({"info", "--game", game});
    EXPECT_EQ(info.doc["gameVersion"], "v1.13");
    EXPECT_EQ(info.doc["savegameFormat"], 2);
    EXPECT_EQ(info.doc["palette"]["standIn"], true);
    EXPECT_EQ(info.text.rfind("game version: v1.13\nsavegame format: 2\npalette: the stand-in", 0), 0u);

    auto sum = Show({"checksum", "--game", game});
    auto words = Words(sum.text);
    ASSERT_EQ(words.size(), 4u) << sum.text;
    EXPECT_EQ(sum.doc["stored"], std::stoul(words[1], nullptr, 16));
    EXPECT_EQ(sum.doc["computed"], std::stoul(words[3], nullptr, 16));
    EXPECT_EQ(sum.doc["fixed"], false);

    std::string save = dir / "game/F1GSTATE.SAV";
    auto bytes = test::ReadBytes(save);
    bytes[bytes.size() / 2] ^= 0x5A;
    test::WriteBytes(save, bytes);
    auto fix = test::RunCommand({"checksum", "--game", game, "--fix", "--json"});
    ASSERT_EQ(fix.code, 0) << fix.err;
    auto fixed = json::parse(fix.out); // the restore point's note is not on stdout
    EXPECT_EQ(fixed["fixed"], true);
    EXPECT_NE(fixed["stored"], fixed["computed"]);
    auto after = json::parse(test::RunCommand({"checksum", "--game", game, "--json"}).out);
    EXPECT_EQ(after["stored"], fixed["computed"]);
}

TEST_F(JsonCli, TeamsAndSettingsHoldTheShownValues)
{
    auto teams = Show({"teams", "show", "--game", game});
    auto lines = Lines(teams.text);
    ASSERT_EQ(teams.doc["teams"].size(), 11u);
    ASSERT_EQ(lines.size(), 1u + 11 * 3);
    for (std::size_t t = 0; t < 11; ++t) {
        const json& team = teams.doc["teams"][t];
        EXPECT_TRUE(ShownInOrder(lines[1 + 3 * t],
                                 {team["slot"], team["name"], team["engine"], team["failure"], team["tqp"], team["trp"],
                                  team["tyreType"], team["pitPosition"]}));
        for (std::size_t d = 0; d < 2; ++d) {
            const json& driver = team["drivers"][d];
            const std::string& line = lines[2 + 3 * t + d];
            EXPECT_TRUE(ShownInOrder(line,
                                     {driver["name"], "#" + driver["carNumber"].dump(), driver["qp"], driver["rp"],
                                      driver["qa"], driver["ra"]}));
            EXPECT_EQ(driver["selected"], Has(line, "selected")) << line;
        }
    }

    auto settings = Show({"settings", "show", "--game", game});
    const json& s = settings.doc;
    std::string points = "points:";
    for (const auto& p : s["points"])
        points += " " + p.dump();
    EXPECT_TRUE(Has(settings.text, points + "\n"));
    ASSERT_EQ(s["aids"].size(), 5u);
    for (const auto& level : s["aids"]) {
        char mask[16];
        std::snprintf(mask, sizeof mask, "0x%04X", level["mask"].get<unsigned>());
        std::string row = level["level"].get<std::string>();
        row.resize(10, ' ');
        for (int aid = 1; aid <= 8; ++aid)
            row += level["on"]["F" + std::to_string(aid)] == true ? "  x" : "  .";
        EXPECT_TRUE(Has(settings.text, row + "  " + mask + "\n")) << row;
    }
    const json& m = s["misc"];
    EXPECT_TRUE(ShownInOrder(settings.text,
                             {"quick-race-laps: ", m["quickRaceLaps"],
                              "keep-track-records: ", m["keepTrackRecords"] == true ? "on" : "off",
                              "player-performance: ", m["playerPerformance"], "pit-speed-mph: ", m["pitSpeedMph"],
                              "weight: ", m["weight"], " kg\n"}));
    const json& d = s["damage"];
    ASSERT_EQ(d["parts"].size(), 22u);
    EXPECT_TRUE(ShownInOrder(settings.text,
                             {"wall-robustness ", d["wallRobustness"], "car-robustness ", d["carRobustness"],
                              d["parts"][0]["part"], d["parts"][0]["value"], d["parts"][21]["part"],
                              d["parts"][21]["value"], "in-car ", s["visibleCarDistances"]["inCar"]}));
    // The camera table, row by row.
    auto lines2 = Lines(settings.text);
    auto header =
        std::find_if(lines2.begin(), lines2.end(), [](const std::string& l) { return l.rfind("camera ", 0) == 0; });
    ASSERT_NE(header, lines2.end());
    ASSERT_EQ(s["cameras"].size(), 9u);
    const auto names = Words(*header);
    for (std::size_t c = 0; c < 9; ++c) {
        auto values = Words(*(header + 1 + static_cast<std::ptrdiff_t>(c)));
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(s["cameras"][c][names[i]], std::stoi(values[i])) << names[i] << " of camera " << c + 1;
    }
}

TEST_F(JsonCli, CareerTracksAndTrackInfoHoldTheShownValues)
{
    auto career = Show({"career", "show", "--game", game});
    auto lines = Lines(career.text);
    ASSERT_EQ(career.doc["entries"].size(), 22u);
    EXPECT_EQ(lines[0], "race " + career.doc["race"].dump());
    EXPECT_TRUE(career.doc["laps"].is_null());
    for (std::size_t i = 0; i < 22; ++i) {
        const json& e = career.doc["entries"][i];
        EXPECT_EQ(std::stoi(lines[2 + i]), e["position"]);
        EXPECT_TRUE(ShownInOrder(lines[2 + i], {e["driver"], e["team"], e["time"]}));
        EXPECT_EQ(e["milliseconds"].is_null(), e["time"] == "DNF") << e.dump();
    }

    auto tracks = Show({"tracks", "show", "--game", game});
    ASSERT_EQ(tracks.doc["tracks"].size(), 16u);
    for (const json& t : tracks.doc["tracks"]) {
        const json& q = t["qualifyingRecord"];
        const json& two = t["strategies"][1];
        EXPECT_TRUE(ShownInOrder(tracks.text,
                                 {"Track " + t["slot"].dump() + ": ",
                                  t["city"],
                                  t["country"],
                                  "track file ",
                                  t["trackFile"],
                                  t["laps"],
                                  t["metres"],
                                  t["feet"],
                                  t["year"],
                                  t["grip"],
                                  t["practiceDay"],
                                  "qualifying record ",
                                  q["lapTimeText"],
                                  q["driver"],
                                  q["team"],
                                  q["date"],
                                  "2-stop strategy: ",
                                  two["percent"],
                                  two["stops"][0]["lap"],
                                  two["stops"][0]["window"],
                                  two["stops"][1]["lap"],
                                  "JAMs needed: " + std::to_string(t["jams"].size())}));
        for (const json& jam : t["jams"])
            EXPECT_TRUE(
                Has(tracks.text,
                    "    " + jam["path"].get<std::string>() + (jam["present"] == true ? "  present" : "  MISSING")));
    }
    auto one = json::parse(test::RunCommand({"tracks", "show", "--game", game, "--slot", "5", "--json"}).out);
    ASSERT_EQ(one["tracks"].size(), 1u);
    EXPECT_EQ(one["tracks"][0], tracks.doc["tracks"][4]);

    const std::string file = ResolveGamePath(game + "/", "CIRCUITS\\F1CT14.DAT");
    auto info = Show({"track", "info", file});
    EXPECT_EQ(info.doc["gp3InfoFound"], true);
    EXPECT_EQ(info.doc["info"].size(), 16u);
    for (const auto& [key, value] : info.doc["info"].items())
        EXPECT_TRUE(Has(info.text, key + ": " + value.get<std::string>() + "\n")) << key;
    EXPECT_EQ(info.doc["info"]["NAME"], "Monza");
    EXPECT_TRUE(Has(info.text, "JAMs: " + std::to_string(info.doc["jams"].size()) + "\n"));
    for (const json& jam : info.doc["jams"])
        EXPECT_TRUE(Has(info.text, "  " + jam.get<std::string>() + "\n")) << jam;
}

// Bytes Windows-1252 cannot give back: the text as UTF-8 and the bytes in hex.
TEST_F(JsonCli, GameTextWithUndefinedBytesKeepsItsBytes)
{
    const std::string per = dir / "teams.PER";
    ASSERT_EQ(test::RunCommand({"teams", "per-export", "--game", game, per, "--quiet"}).code, 0);
    auto perBytes = test::ReadBytes(per);
    const std::string perText(perBytes.begin(), perBytes.end());
    const std::size_t value = perText.find('=', perText.find("[TNAME]")) + 1;
    const std::string name = perText.substr(value, perText.find_first_of("\r\n", value) - value);
    ASSERT_GE(name.size(), 2u);
    Replace(perBytes, name, std::string("A\x81"));
    test::WriteBytes(per, perBytes);
    ASSERT_EQ(test::RunCommand({"teams", "per-import", "--game", game, per, "--quiet"}).code, 0);
    auto teams = json::parse(test::RunCommand({"teams", "show", "--game", game, "--json"}).out);
    const json& first = teams["teams"][0];
    EXPECT_EQ(first["nameRaw"].get<std::string>().substr(0, 4), "4181") << first.dump();
    EXPECT_EQ(first["name"].get<std::string>().substr(0, 3), "A\xC2\x81");
    EXPECT_FALSE(first.contains("engineRaw"));

    const std::string track = ResolveGamePath(game + "/", "CIRCUITS\\F1CT14.DAT");
    auto trackBytes = test::ReadBytes(track);
    Replace(trackBytes, "MONZA.JAM", "MONZ\x9D.JAM");
    test::WriteBytes(track, trackBytes);
    auto info = json::parse(test::RunCommand({"track", "info", track, "--json"}).out);
    json odd = {{"text", "GP3JAMS\\MONZ\xC2\x9D.JAM"}, {"raw", "4750334a414d535c4d4f4e5a9d2e4a414d"}};
    EXPECT_NE(std::find(info["jams"].begin(), info["jams"].end(), odd), info["jams"].end()) << info["jams"].dump();
}

// A failure prints {"error": ...} on stdout and the message on stderr, with
// the exit status it has without --json (2 for a usage error); never a
// document and an error.
TEST_F(JsonCli, FailuresAreOneErrorDocument)
{
    auto noGame = test::RunCommand({"info", "--json", "--game", "/no/such/folder"});
    EXPECT_EQ(noGame.code, 1);
    auto error = json::parse(noGame.out);
    ASSERT_EQ(error.size(), 1u);
    EXPECT_EQ(error["error"], "not a directory: /no/such/folder");
    EXPECT_TRUE(Has(noGame.err, "not a directory: /no/such/folder")) << noGame.err;

    const std::string report = ResolveGamePath(game + "/", "gpsaves\\seasona1.txt");
    test::WriteText(report, "(4 of 16)\r\n 1. Only One  1:33.200\r\n    Team\r\n\r\n");
    auto cut = test::RunCommand({"career", "show", "--game", game, "--json"});
    EXPECT_EQ(cut.code, 1);
    EXPECT_EQ(json::parse(cut.out), json({{"error", "the season report ends after 1 of 22 entries"}}));

    // A command line that does not parse, whether or not --json was read.
    for (const char* slot : {"17", "x"}) {
        auto usage = test::RunCommand({"tracks", "show", "--game", game, "--json", "--slot", slot});
        EXPECT_EQ(usage.code, 2);
        EXPECT_TRUE(json::parse(usage.out).contains("error")) << usage.out;
        EXPECT_TRUE(Has(usage.err, "--slot")) << usage.err;
    }
}
