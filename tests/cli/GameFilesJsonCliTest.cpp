// --json of graphics show, restore --list, art info, jam info and sound list:
// one document on stdout holding what the text shows, on a demo installation.

#include "CliRunner.h"
#include "TestSupport.h"

#include "formats/GameInstallation.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <ctime>
#include <filesystem>

using namespace pitwall;
using nlohmann::json;

namespace {

// The command's stdout as one JSON document (parse throws on anything else,
// a second document or a progress line included).
json JsonOf(std::vector<std::string> args)
{
    args.push_back("--json");
    auto run = test::RunCommand(args);
    EXPECT_EQ(run.code, 0) << run.err;
    return json::parse(run.out);
}

std::string Text(const std::vector<std::string>& args)
{
    auto run = test::RunCommand(args);
    EXPECT_EQ(run.code, 0) << run.err;
    return run.out;
}

// "8-bit 256x384 24 images" as the text shows a variant.
std::string Describe(const json& jam)
{
    if (jam.is_null())
        return "-";
    const int images = jam["images"];
    return std::to_string(jam["bits"].get<int>()) + "-bit " + std::to_string(jam["pageWidth"].get<int>()) + "x"
        + std::to_string(jam["pageHeight"].get<int>()) + " " + std::to_string(images)
        + (images == 1 ? " image" : " images");
}

struct Game {
    test::TempDir dir;
    std::string path = dir / "game";
    Game() { test::MakeDemo(path, 2, 21); }
};

} // namespace

TEST(GameFilesJsonCli, GraphicsShowHoldsWhatTheTextShows)
{
    Game g;
    const std::string text = Text({"graphics", "show", "--game", g.path, "--quiet"});
    // Without --quiet the progress lines stay on stderr.
    const json doc = JsonOf({"graphics", "show", "--game", g.path});
    ASSERT_EQ(doc["teams"].size(), 11u);
    for (const json& team : doc["teams"]) {
        const json& car = team["car"];
        const json& jacks = team["jacks"];
        for (const std::string& line :
             {"team " + std::to_string(team["number"].get<int>()) + " (" + team["name"].get<std::string>() + ")\n",
              "  car     " + car["file"].get<std::string>() + "  software " + Describe(car["software"]) + "; hardware "
                  + Describe(car["hardware"]) + "\n",
              "  jacks   " + jacks[0]["file"].get<std::string>() + " " + jacks[1]["file"].get<std::string>()
                  + "  software " + Describe(jacks[0]["software"]) + " + " + Describe(jacks[1]["software"])
                  + "; hardware " + Describe(jacks[0]["hardware"]) + " + " + Describe(jacks[1]["hardware"]) + "\n"})
            EXPECT_NE(text.find(line), std::string::npos) << line;
        std::string ramps = "  pit crew ramps";
        for (int base : team["pitCrewRamps"])
            ramps += " " + std::to_string(base);
        EXPECT_NE(text.find(ramps + "\n"), std::string::npos) << ramps;
        const json& left = team["carNumbers"]["sources"][1]["left"];
        const json& target = team["carNumbers"]["target"]["right"];
        EXPECT_NE(text.find("    number 2 source: left " + std::to_string(left["x"].get<int>()) + ","
                            + std::to_string(left["y"].get<int>()) + " " + std::to_string(left["width"].get<int>())
                            + "x" + std::to_string(left["height"].get<int>()) + " front"),
                  std::string::npos);
        EXPECT_NE(text.find(" right " + std::to_string(target["x"].get<int>()) + ","
                            + std::to_string(target["y"].get<int>()) + "\n"),
                  std::string::npos);
    }

    // A file that cannot be read: the error is the one document on stdout.
    std::filesystem::remove(GameFilePath(g.path + "/", "GP3JAMSH/Liveries/PA_JORDA.JAM"));
    auto failed = test::RunCommand({"graphics", "show", "--game", g.path, "--quiet", "--json"});
    EXPECT_EQ(failed.code, 1);
    const json error = json::parse(failed.out);
    EXPECT_EQ(error.size(), 1u);
    EXPECT_NE(error["error"].get<std::string>().find("PA_JORDA.JAM"), std::string::npos) << failed.out;
}

TEST(GameFilesJsonCli, RestoreListHoldsEachPointWithItsTimeAndFiles)
{
    Game g;
    const std::string points = g.dir / "points";
    ASSERT_EQ(test::RunCommand({"sound", "extract", "3", g.dir / "s3.wav", "--game", g.path}).code, 0);
    for (const char* sound : {"4", "5"})
        ASSERT_EQ(test::RunCommand({"sound", "replace", sound, g.dir / "s3.wav", "--game", g.path, "--restore-dir",
                                    points, "--quiet"})
                      .code,
                  0);
    const std::vector<std::string> list = {"restore", "--game", g.path, "--list", "--restore-dir", points};
    const std::string text = Text(list);
    const json doc = JsonOf(list);
    ASSERT_EQ(doc["restorePoints"].size(), 2u);
    std::string fromJson;
    for (const json& p : doc["restorePoints"]) {
        fromJson += p["id"].get<std::string>() + "  " + p["time"].get<std::string>() + "  "
            + p["operation"].get<std::string>() + "  " + std::to_string(p["fileCount"].get<int>()) + " files  "
            + std::to_string(p["totalSize"].get<std::uint64_t>()) + " bytes\n";
        // The seconds are the same moment as the ISO time.
        std::tm utc{};
        ASSERT_NE(strptime(p["time"].get<std::string>().c_str(), "%Y-%m-%dT%H:%M:%SZ", &utc), nullptr);
        EXPECT_EQ(p["unixTime"].get<long long>(), static_cast<long long>(timegm(&utc)));
        ASSERT_EQ(p["files"].size(), 1u);
        EXPECT_EQ(p["files"][0]["size"], p["totalSize"]);
        EXPECT_TRUE(p["files"][0]["existed"].get<bool>());
    }
    EXPECT_EQ(fromJson, text);
    EXPECT_EQ(doc["restorePoints"][0]["operation"], "sound replace 5"); // newest first

    // Putting a point back shows nothing, so --json asks for --list.
    const auto bank = test::ReadBytes(GameFilePath(g.path + "/", "SAMPLES/GP3SOUND.DAT"));
    auto refused = test::RunCommand({"restore", "--game", g.path, "--restore-dir", points, "--json"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(json::parse(refused.out).contains("error"));
    EXPECT_EQ(test::ReadBytes(GameFilePath(g.path + "/", "SAMPLES/GP3SOUND.DAT")), bank);
}

TEST(GameFilesJsonCli, ArtJamAndSoundInfoHoldWhatTheTextShows)
{
    Game g;
    char line[128];

    const json art = JsonOf({"art", "info", g.path});
    std::string artText = "entries: " + std::to_string(art["entryCount"].get<int>())
        + "\nfitting: " + std::to_string(art["fitting"].get<int>())
        + "\nfile size: " + std::to_string(art["fileSize"].get<std::uint64_t>()) + "\n";
    ASSERT_EQ(art["entries"].size(), 840u);
    for (const json& e : art["entries"]) {
        std::snprintf(line, sizeof line, "%3d  %4u x %-4u  reserved %8u  offset %9u  %s\n", e["number"].get<int>(),
                      e["width"].get<unsigned>(), e["height"].get<unsigned>(), e["reservedSize"].get<unsigned>(),
                      e["dataOffset"].get<unsigned>(), e["fits"].get<bool>() ? "fits" : "compressed");
        artText += line;
    }
    EXPECT_EQ(artText, Text({"art", "info", g.path}));
    EXPECT_EQ(JsonOf({"art", "info", g.path, "755"}), art["entries"][755]);
    auto noEntry = test::RunCommand({"art", "info", g.path, "840", "--json"});
    EXPECT_EQ(noEntry.code, 1);
    EXPECT_NE(json::parse(noEntry.out)["error"].get<std::string>().find("840"), std::string::npos);

    for (const char* file : {"GP3JAMS/Liveries/JORDAN98.JAM", "GP3JAMSH/Liveries/JORDAN98.JAM"}) {
        const std::string jam = GameFilePath(g.path + "/", file);
        const json info = JsonOf({"jam", "info", jam});
        const bool soft = info["bits"] == 8;
        EXPECT_EQ(info["kind"], soft ? "software" : "hardware");
        std::string jamText = std::string("kind: ") + (soft ? "8-bit (software)" : "16-bit (hardware)")
            + "\nimages: " + std::to_string(info["imageCount"].get<int>())
            + "\npage height: " + std::to_string(info["pageHeight"].get<int>()) + "\n";
        EXPECT_EQ(info["images"].is_null(), !soft);
        if (soft) {
            EXPECT_EQ(info["images"].size(), info["imageCount"].get<std::size_t>());
            for (const json& e : info["images"])
                jamText += "image " + std::to_string(e["number"].get<int>()) + ": x "
                    + std::to_string(e["x"].get<int>()) + ", y " + std::to_string(e["y"].get<int>()) + ", w "
                    + std::to_string(e["width"].get<int>()) + ", h " + std::to_string(e["height"].get<int>())
                    + ", texture id " + std::to_string(e["textureId"].get<int>()) + ", table size "
                    + std::to_string(e["tableSize"].get<int>()) + "\n";
        }
        EXPECT_EQ(jamText, Text({"jam", "info", jam})) << file;
    }

    const json sounds = JsonOf({"sound", "list", "--game", g.path});
    std::string soundText = "sounds: " + std::to_string(sounds["sounds"].size()) + "\n";
    for (const json& s : sounds["sounds"]) {
        std::snprintf(line, sizeof line, "%3d  %8u bytes  %5u Hz  %2u bit  field %08X\n", s["number"].get<int>(),
                      s["dataSize"].get<unsigned>(), s["sampleRate"].get<unsigned>(), s["bits"].get<unsigned>(),
                      s["field"].get<unsigned>());
        soundText += line;
    }
    EXPECT_EQ(soundText, Text({"sound", "list", "--game", g.path}));
}
