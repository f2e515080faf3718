// --json of graphics show, restore --list, art info, jam info and sound list:
// one document on stdout holding what the text shows, on a demo installation.

#include "CliRunner.h"
#include "TestSupport.h"

#include "base/FileUtils.h"
#include "formats/GameInstallation.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <iomanip>
#include <sstream>
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

// A value as the text prints it: strings as they are, numbers in decimal.
std::string S(const json& v) { return v.is_string() ? v.get<std::string>() : v.dump(); }

// "8-bit 256x384 24 images", or "-" for a variant not read.
std::string Describe(const json& jam)
{
    if (jam.is_null())
        return "-";
    return S(jam["bits"]) + "-bit " + S(jam["pageWidth"]) + "x" + S(jam["pageHeight"]) + " " + S(jam["images"])
        + (jam["images"] == 1 ? " image" : " images");
}

std::string Variants(const json& graphic) // "software ...; hardware ..."
{
    return "software " + Describe(graphic["software"]) + "; hardware " + Describe(graphic["hardware"]);
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
    for (const json& t : doc["teams"]) {
        const json& jacks = t["jacks"];
        const json& left = t["carNumbers"]["sources"][1]["left"];
        const json& right = t["carNumbers"]["target"]["right"];
        std::string ramps = "  pit crew ramps";
        for (const json& base : t["pitCrewRamps"])
            ramps += " " + S(base);
        for (const std::string& line :
             {"team " + S(t["number"]) + " (" + S(t["name"]) + ")\n",
              "  car     " + S(t["car"]["file"]) + "  " + Variants(t["car"]) + "\n",
              "  cockpit " + S(t["cockpit"]["file"]) + "  " + Variants(t["cockpit"]) + "\n",
              "  jacks   " + S(jacks[0]["file"]) + " " + S(jacks[1]["file"]) + "  software "
                  + Describe(jacks[0]["software"]) + " + " + Describe(jacks[1]["software"]) + "; hardware "
                  + Describe(jacks[0]["hardware"]) + " + " + Describe(jacks[1]["hardware"]) + "\n",
              "    number 2 source: left " + S(left["x"]) + "," + S(left["y"]) + " " + S(left["width"]) + "x"
                  + S(left["height"]) + " front",
              " right " + S(right["x"]) + "," + S(right["y"]) + "\n", ramps + "\n"})
            EXPECT_NE(text.find(line), std::string::npos) << line;
    }

    // A file that cannot be read: the error is the one document on stdout.
    std::filesystem::remove(GameFilePath(g.path + "/", "GP3JAMSH/Liveries/PA_JORDA.JAM"));
    auto failed = test::RunCommand({"graphics", "show", "--game", g.path, "--quiet", "--json"});
    EXPECT_EQ(failed.code, 1);
    const json error = json::parse(failed.out);
    EXPECT_EQ(error.size(), 1u);
    EXPECT_NE(S(error["error"]).find("PA_JORDA.JAM"), std::string::npos) << failed.out;
}

TEST(GameFilesJsonCli, RestoreListHoldsEachPointWithItsTimeAndFiles)
{
    Game g;
    const std::string points = g.dir / "points", bank = GameFilePath(g.path + "/", "SAMPLES/GP3SOUND.DAT");
    ASSERT_EQ(test::RunCommand({"sound", "extract", "3", g.dir / "s3.wav", "--game", g.path}).code, 0);
    for (const char* sound : {"4", "5"})
        Text({"sound", "replace", sound, g.dir / "s3.wav", "--game", g.path, "--restore-dir", points, "--quiet"});
    const std::vector<std::string> list = {"restore", "--game", g.path, "--list", "--restore-dir", points};
    const json doc = JsonOf(list);
    ASSERT_EQ(doc["restorePoints"].size(), 2u);
    std::string fromJson;
    for (const json& p : doc["restorePoints"]) {
        fromJson += S(p["id"]) + "  " + S(p["time"]) + "  " + S(p["words"]) + "  " + S(p["fileCount"]) + " files  "
            + S(p["totalSize"]) + " bytes\n";
        // The seconds are the same moment as the ISO time.
        std::tm utc{};
        std::istringstream time(S(p["time"]));
        time >> std::get_time(&utc, "%Y-%m-%dT%H:%M:%SZ");
        ASSERT_FALSE(time.fail()) << S(p["time"]);
        using namespace std::chrono;
        const sys_seconds moment = sys_days{year{utc.tm_year + 1900} / (utc.tm_mon + 1) / utc.tm_mday}
            + hours{utc.tm_hour} + minutes{utc.tm_min} + seconds{utc.tm_sec};
        EXPECT_EQ(p["unixTime"], static_cast<long long>(moment.time_since_epoch().count()));
        ASSERT_EQ(p["files"].size(), 1u);
        EXPECT_EQ(p["files"][0], json({{"path", std::string("SAMPLES") + kPathSeparator + "GP3SOUND.DAT"}, {"existed", true},
                                             {"size", p["totalSize"]}}));
    }
    EXPECT_EQ(fromJson, Text(list));
    // Newest first; what made it as words, and as a kind with arguments.
    EXPECT_EQ(doc["restorePoints"][0]["words"], "Sound replacement 5");
    EXPECT_EQ(doc["restorePoints"][0]["operation"], "sound replacement 5");
    EXPECT_EQ(doc["restorePoints"][0]["kind"], "sound-replace");
    EXPECT_EQ(doc["restorePoints"][0]["arguments"], json::array({"5"}));

    // Putting a point back shows nothing, so --json asks for --list.
    const auto before = test::ReadBytes(bank);
    auto refused = test::RunCommand({"restore", "--game", g.path, "--restore-dir", points, "--json"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(json::parse(refused.out).contains("error"));
    EXPECT_EQ(test::ReadBytes(bank), before);
}

TEST(GameFilesJsonCli, ArtJamAndSoundInfoHoldWhatTheTextShows)
{
    Game g;
    char line[128];
    const json art = JsonOf({"art", "info", g.path});
    std::string artText = "entries: " + S(art["entryCount"]) + "\nfitting: " + S(art["fitting"])
        + "\nfile size: " + S(art["fileSize"]) + "\n";
    ASSERT_EQ(art["entries"].size(), 840u);
    for (const json& e : art["entries"]) {
        std::snprintf(line, sizeof line, "%3d  %4u x %-4u  reserved %8u  offset %9u  %s\n", e["number"].get<int>(),
                      e["width"].get<unsigned>(), e["height"].get<unsigned>(), e["reservedSize"].get<unsigned>(),
                      e["dataOffset"].get<unsigned>(), e["fits"] == true ? "fits" : "compressed");
        artText += line;
    }
    EXPECT_EQ(artText, Text({"art", "info", g.path}));
    EXPECT_EQ(JsonOf({"art", "info", g.path, "755"}), art["entries"][755]);
    auto noEntry = test::RunCommand({"art", "info", g.path, "840", "--json"});
    EXPECT_EQ(noEntry.code, 2);
    EXPECT_NE(S(json::parse(noEntry.out)["error"]).find("840"), std::string::npos);

    for (const char* file : {"GP3JAMS/Liveries/JORDAN98.JAM", "GP3JAMSH/Liveries/JORDAN98.JAM"}) {
        const std::string jam = GameFilePath(g.path + "/", file);
        const json info = JsonOf({"jam", "info", jam});
        const bool soft = info["bits"] == 8;
        EXPECT_EQ(info["kind"], soft ? "software" : "hardware");
        EXPECT_EQ(info["images"].is_null(), !soft);
        std::string jamText = std::string("kind: ") + (soft ? "8-bit (software)" : "16-bit (hardware)")
            + "\nimages: " + S(info["imageCount"]) + "\npage height: " + S(info["pageHeight"]) + "\n";
        for (const json& e : info["images"])
            jamText += "image " + S(e["number"]) + ": x " + S(e["x"]) + ", y " + S(e["y"]) + ", w " + S(e["width"])
                + ", h " + S(e["height"]) + ", texture id " + S(e["textureId"]) + ", table size " + S(e["tableSize"])
                + "\n";
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
