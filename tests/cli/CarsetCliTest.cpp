#include "CliRunner.h"
#include "TestSupport.h"

#include "base/FileUtils.h"
#include "formats/SoundBank.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetHeader.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <tuple>

using namespace pitwall;

namespace {

constexpr const char* kBank = "/SAMPLES/GP3SOUND.DAT";

std::vector<std::string> InfoLines(const std::string& carset)
{
    CarsetArchive archive(carset, CarsetArchive::Mode::Read);
    auto bytes = archive.read(kInfoMember, 1'000'000);
    const std::string text(bytes.begin(), bytes.end());
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        if (end == std::string::npos)
            break;
        at = end + 2;
    }
    return lines;
}

std::vector<std::string> Members(const std::string& carset)
{
    std::vector<std::string> names;
    for (const auto& m : CarsetArchive(carset, CarsetArchive::Mode::Read).members())
        names.push_back(m.name);
    return names;
}

std::vector<std::string> Reserved() { return std::vector<std::string>(6, "RESERVED"); }

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(CarsetCli, InformationGivenToImportIsWrittenAsTheWindowWritesItAndShownLabelled)
{
    test::TempDir dir;
    const std::string game = dir / "G", full = dir / "full.GMS";
    test::MakeDemo(game);
    auto run = test::RunCommand({"import", "--game", game, "--items", "1", "-o", full, "--quiet", "--name",
                                 "Silver Arrows", "--author", "J\xC3\xBCrgen", "--date", "06.12.26", "--description",
                                 "First line\nSecond line", "--version-text", "v1.0 BETA 6", "--show-info"});
    ASSERT_EQ(run.code, 0) << run.err;
    // Version, author, date, "1", six reserved lines, then the free text:
    // the name first. The author is stored in the game's code page.
    EXPECT_EQ(InfoLines(full), Joined(Joined({"v1.0 BETA 6", "J\xFCrgen", "06.12.26", "1"}, Reserved()),
                                      {"Silver Arrows", "First line", "Second line"}));

    auto text = test::RunCommand({"carset", "info", full});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_EQ(text.out, "version: v1.0 BETA 6\nauthor: J\xC3\xBCrgen\ndate: 06.12.26\nshowOnLoad: yes\n"
                        "name: Silver Arrows\ndescription: First line\ndescription: Second line\n");
    auto json = test::RunCommand({"carset", "info", full, "--json"});
    ASSERT_EQ(json.code, 0) << json.err;
    auto doc = nlohmann::json::parse(json.out);
    EXPECT_EQ(doc, nlohmann::json::parse(R"({"version": "v1.0 BETA 6", "author": "J\u00fcrgen", "date": "06.12.26",
        "showOnLoad": true, "name": "Silver Arrows", "description": ["First line", "Second line"]})"));

    // Only some fields: the others are what the window starts with (its
    // empty date field gives its separators), and no free text at all.
    const std::string some = dir / "some.GMS";
    run = test::RunCommand({"import", "--game", game, "--items", "1", "-o", some, "--quiet", "--name", "X",
                            "--author", "Y"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(InfoLines(some), Joined(Joined({"v1.0", "Y", "..", "0"}, Reserved()), {"X"}));
    doc = nlohmann::json::parse(test::RunCommand({"carset", "info", some, "--json"}).out);
    EXPECT_EQ(doc["name"], "X");
    EXPECT_EQ(doc["author"], "Y");
    EXPECT_EQ(doc["showOnLoad"], false);
    EXPECT_EQ(doc["description"], nlohmann::json::array());

    // None: the information the program starts with, as before.
    const std::string none = dir / "none.GMS";
    ASSERT_EQ(test::RunCommand({"import", "--game", game, "--items", "1", "-o", none, "--quiet"}).code, 0);
    EXPECT_EQ(InfoLines(none), Joined({"v1.0", "-", "-", "0"}, std::vector<std::string>(5, "RESERVED")));
    EXPECT_EQ(test::RunCommand({"carset", "info", none}).out,
              "version: v1.0\nauthor: -\ndate: -\nshowOnLoad: no\nname:\ndescription:\n");

    // Texts INFO.DAT cannot hold as the window writes them: nothing is written.
    const std::vector<std::vector<std::string>> refused = {
        {"--author", "two\nlines", "--author must be one line"},
        {"--name", "cut\rshort", "--name must be one line"},
        {"--date", "2026-12-06", "bad --date '2026-12-06'"},
        {"--date", "06.12.2026", "bad --date '06.12.2026'"},
        {"--author", "\xCE\xA9mega", "Windows-1252"}, // no Greek letters in the game's code page
        {"--author", std::string(40000, 'a'), "takes 32767"},
        {"--description", std::string(1'000'001, 'a'), "at most 1000000"},
    };
    for (const auto& r : refused) {
        const std::string out = dir / "refused.GMS";
        run = test::RunCommand({"import", "--game", game, "--items", "1", "-o", out, "--quiet", r[0], r[1]});
        EXPECT_EQ(run.code, 1) << r[0];
        EXPECT_NE(run.err.find(r[2]), std::string::npos) << run.err;
        EXPECT_FALSE(FileExists(out)) << r[0];
    }
}

TEST(CarsetCli, ListAsJsonHoldsWhatTheTextShows)
{
    test::TempDir dir;
    const std::string game = dir / "G", carset = dir / "c.GMS";
    test::MakeDemo(game);
    ASSERT_EQ(test::RunCommand({"import", "--game", game, "--items", "1,116,120", "-o", carset, "--quiet"}).code, 0);
    auto text = test::RunCommand({"carset", "list", carset});
    auto json = test::RunCommand({"carset", "list", carset, "--json"});
    ASSERT_EQ(json.code, 0) << json.err;
    auto doc = nlohmann::json::parse(json.out);
    ASSERT_TRUE(doc["format"].is_number());
    std::string rebuilt = "format: " + std::to_string(doc["format"].get<int>()) + "\nitems:\n";
    for (const auto& item : doc["items"])
        rebuilt += "  " + std::to_string(item["number"].get<int>()) + "  " + item["name"].get<std::string>() + "\n";
    rebuilt += "members:\n";
    for (const auto& m : doc["members"]) {
        ASSERT_TRUE(m["size"].is_number());
        rebuilt += "  " + m["name"].get<std::string>() + "  " + std::to_string(m["size"].get<std::uint64_t>()) + "\n";
    }
    EXPECT_EQ(rebuilt, text.out);
    EXPECT_EQ(doc["items"].size(), 3u);
    EXPECT_EQ(doc["items"][1], nlohmann::json({{"number", 116}, {"name", "Sounds"}}));
}

TEST(CarsetCli, SoundsGoIntoACarsetAllOrAsListed)
{
    test::TempDir dir;
    const std::string a = dir / "A", b = dir / "B", c = dir / "C", all = dir / "all.GMS", three = dir / "three.GMS";
    test::MakeDemo(a, 2, 1);
    test::MakeDemo(b, 2, 2);
    test::MakeDemo(c, 2, 2);
    // B's sound 0 becomes another, so the banks differ whatever the seeds give.
    ASSERT_EQ(test::RunCommand({"sound", "extract", "--game", a, "1", dir / "one.wav"}).code, 0);
    ASSERT_EQ(test::RunCommand({"sound", "replace", "--game", b, "0", dir / "one.wav", "--quiet"}).code, 0);
    const auto bankA = test::ReadBytes(a + kBank), bankC = test::ReadBytes(c + kBank);
    ASSERT_FALSE(test::ReadBytes(b + kBank) == bankA);

    // Without --sounds every sound goes, and the bank arrives unchanged.
    auto run = test::RunCommand({"import", "--game", a, "--items", "116", "-o", all, "--quiet"});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto held = Members(all);
    EXPECT_NE(std::find(held.begin(), held.end(), "Sound0.DAT"), held.end());
    run = test::RunCommand({"apply", all, "--game", b, "--quiet"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(test::ReadBytes(b + kBank) == bankA);

    // --sounds 3: that sound alone; C keeps its own others.
    run = test::RunCommand({"import", "--game", a, "--items", "sounds", "--sounds", "3", "-o", three, "--quiet"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Members(three), (std::vector<std::string>{"Sound3.DAT", "Sounds.DAT", "Header.DAT", "INFO.DAT"}));
    ASSERT_EQ(test::RunCommand({"apply", three, "--game", c, "--quiet"}).code, 0);
    const SoundBank before = ParseSoundBank(bankC).bank, after = ParseSoundBank(test::ReadBytes(c + kBank)).bank,
                    source = ParseSoundBank(bankA).bank;
    ASSERT_EQ(after.entries.size(), before.entries.size());
    for (std::size_t i = 0; i < after.entries.size(); ++i)
        EXPECT_TRUE(after.samples[i] == (i == 3 ? source : before).samples[i]) << i;

    // A list that is not one, or a number no sound bank has: a usage error
    // (2) naming the word. A sound this bank lacks: exit 1. No carset.
    const std::string out = dir / "bad.GMS";
    const std::vector<std::tuple<std::string, std::string, int>> bad = {
        {"1,x", "'x'", 2}, {"300", "'300'", 2}, {"5-2", "'5-2'", 2}, {"1,,2", "''", 2}, {"200", "no sound 200", 1}};
    for (const auto& [list, named, code] : bad) {
        run = test::RunCommand({"import", "--game", a, "--items", "116", "--sounds", list, "-o", out, "--quiet"});
        EXPECT_EQ(run.code, code) << list;
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
        EXPECT_FALSE(FileExists(out)) << list;
    }
    run = test::RunCommand({"import", "--game", a, "--items", "1", "--sounds", "3", "-o", out, "--quiet"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("item 116"), std::string::npos) << run.err;
    EXPECT_FALSE(FileExists(out));
}
