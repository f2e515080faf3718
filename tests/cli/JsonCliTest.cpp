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
    EXPECT_EQ(info.doc, json::parse(R"({"gameVersion": "v1.13", "savegameFormat": 2})"));
    EXPECT_EQ(info.text, "game version: v1.13\nsavegame format: 2\n");

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
        const std::string& line = lines[1 + 3 * t];
        auto w = Words(line);
        EXPECT_EQ(team["slot"], std::stoi(w[0]));
        EXPECT_TRUE(Has(line, " " + team["name"].get<std::string>() + " ")) << line;
        EXPECT_TRUE(Has(line, " " + team["engine"].get<std::string>() + " ")) << line;
        const std::size_t n = w.size();
        EXPECT_EQ(json::array({team["failure"], team["tqp"], team["trp"], team["tyreType"], team["pitPosition"]}),
                  json::array({std::stoi(w[n - 5]), std::stoi(w[n - 4]), std::stoi(w[n - 3]), std::stoi(w[n - 2]),
                               std::stoi(w[n - 1])}))
            << line;
        for (std::size_t d = 0; d < 2; ++d) {
            const json& driver = team["drivers"][d];
            const std::string& driverLine = lines[2 + 3 * t + d];
            EXPECT_TRUE(Has(driverLine, "        " + driver["name"].get<std::string>() + " ")) << driverLine;
            std::ostringstream values;
            values << "#" << driver["carNumber"] << " QP " << driver["qp"] << " RP " << driver["rp"] << " QA "
                   << driver["qa"] << " RA " << driver["ra"];
            auto dw = Words(driverLine.substr(driverLine.find('#')));
            std::string shown;
            for (std::size_t i = 0; i < 9; ++i)
                shown += (i ? " " : "") + dw[i];
            EXPECT_EQ(shown, values.str());
            EXPECT_EQ(driver["selected"], dw.size() == 10 && dw[9] == "selected") << driverLine;
        }
    }

    auto settings = Show({"settings", "show", "--game", game});
    const json& s = settings.doc;
    std::string points = "points:";
    for (const auto& p : s["points"])
        points += " " + p.dump();
    EXPECT_TRUE(Has(settings.text, points + "\n")) << settings.text;
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
    EXPECT_TRUE(Has(settings.text, "quick-race-laps: " + m["quickRaceLaps"].dump() + " laps\n"));
    EXPECT_TRUE(Has(settings.text, "pit-speed-mph: " + m["pitSpeedMph"].dump() + " mph\n"));
    EXPECT_TRUE(Has(settings.text, "weight: " + m["weight"].dump() + " kg\n"));
    EXPECT_TRUE(Has(settings.text, std::string("keep-track-records: ") + (m["keepTrackRecords"] == true ? "on" : "off")));
    EXPECT_TRUE(Has(settings.text, "player-performance: " + m["playerPerformance"].get<std::string>() + "\n"));
    const json& d = s["damage"];
    EXPECT_TRUE(Has(settings.text, "wall-robustness " + d["wallRobustness"].dump() + ", car-robustness "
                                       + d["carRobustness"].dump()));
    ASSERT_EQ(d["parts"].size(), 22u);
    char nose[48];
    std::snprintf(nose, sizeof nose, "  nose%26u\n", d["parts"][0]["value"].get<unsigned>());
    EXPECT_EQ(d["parts"][0]["part"], "nose");
    EXPECT_TRUE(Has(settings.text, nose)) << nose;
    EXPECT_TRUE(Has(settings.text, "in-car " + s["visibleCarDistances"]["inCar"].dump() + ","));
    // The camera table, row by row.
    auto lines2 = Lines(settings.text);
    auto header = std::find_if(lines2.begin(), lines2.end(), [](const std::string& l) { return l.rfind("camera ", 0) == 0; });
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
        const std::string& line = lines[2 + i];
        EXPECT_EQ(std::stoi(line), e["position"]);
        for (const char* field : {"driver", "team", "time"})
            EXPECT_TRUE(Has(line, e[field].get<std::string>())) << field << " in " << line;
        EXPECT_EQ(e["milliseconds"].is_null(), e["time"] == "DNF") << e.dump();
    }

    auto tracks = Show({"tracks", "show", "--game", game});
    ASSERT_EQ(tracks.doc["tracks"].size(), 16u);
    for (const json& t : tracks.doc["tracks"]) {
        std::ostringstream head;
        head << "Track " << t["slot"].get<int>() << ": " << t["city"].get<std::string>() << " ("
             << t["country"].get<std::string>() << ")\n  track file " << t["trackFile"].get<std::string>()
             << ", laps " << t["laps"] << ", length " << t["metres"] << " m / " << t["feet"] << " ft, year "
             << t["year"] << ", grip " << t["grip"] << ", practice " << t["practiceDay"].get<std::string>() << "\n";
        EXPECT_TRUE(Has(tracks.text, head.str())) << head.str();
        const json& q = t["qualifyingRecord"];
        EXPECT_TRUE(Has(tracks.text, "qualifying record " + q["lapTimeText"].get<std::string>() + "  "
                                         + q["driver"].get<std::string>() + " (" + q["team"].get<std::string>()
                                         + ")  " + q["date"].get<std::string>()))
            << q.dump();
        const json& two = t["strategies"][1];
        std::ostringstream strategy;
        strategy << "2-stop strategy: " << two["percent"] << " %, stop 1 lap " << two["stops"][0]["lap"] << " (window "
                 << two["stops"][0]["window"] << "), stop 2 lap " << two["stops"][1]["lap"];
        EXPECT_TRUE(Has(tracks.text, strategy.str())) << strategy.str();
        for (const json& jam : t["jams"])
            EXPECT_TRUE(Has(tracks.text, "    " + jam["path"].get<std::string>()
                                             + (jam["present"] == true ? "  present" : "  MISSING")));
    }
    const json& suzuka = tracks.doc["tracks"][15];
    auto missing = std::find_if(suzuka["jams"].begin(), suzuka["jams"].end(),
                                [](const json& j) { return j["path"] == "GP3JAMS\\SUZUKAX.JAM"; });
    ASSERT_NE(missing, suzuka["jams"].end());
    EXPECT_EQ((*missing)["present"], false);
    EXPECT_TRUE(Has(tracks.text, "JAMs needed: " + std::to_string(suzuka["jams"].size()) + "\n"));
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
// the exit status it has without --json; never a document and an error.
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

    auto noTrack = test::RunCommand({"track", "info", dir / "none.DAT", "--json"});
    EXPECT_EQ(noTrack.code, 1);
    EXPECT_TRUE(json::parse(noTrack.out).contains("error"));
    EXPECT_FALSE(noTrack.err.empty());
}
