// carset conflicts: what two carsets would both change in an installation,
// worked out without writing anything.

#include "CliRunner.h"
#include "TestSupport.h"

#include "base/FileHash.h"
#include "base/FileUtils.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>

using namespace pitwall;

namespace {

// Where a v1.13 GP3.EXE keeps the drivers' car numbers, driver by driver.
constexpr std::size_t kCarNumbers = 0x73B7EA;

using Snapshot = std::map<std::string, std::string>;

Snapshot Hashes(const std::vector<std::string>& roots)
{
    Snapshot s;
    for (const auto& root : roots) {
        if (FileExists(root))
            s[root] = Sha256OfFile(root);
        else
            for (const auto& f : ListFiles(root, "*", true, false))
                s[f] = Sha256OfFile(f);
    }
    return s;
}

// A copy of `game` whose drivers (by index) carry other car numbers.
void CopyWithCarNumbers(const std::string& game, const std::string& copy, const std::vector<int>& drivers)
{
    ASSERT_TRUE(CopyTree(game, copy, "*.*").empty());
    auto exe = test::ReadBytes(copy + "GP3.EXE");
    for (int d : drivers)
        exe.at(kCarNumbers + static_cast<std::size_t>(d)) = static_cast<std::uint8_t>(90 + d);
    test::WriteBytes(copy + "GP3.EXE", exe);
}

struct Carsets {
    test::TempDir dir;
    std::string game = dir / "B/", points = dir / "points";
    std::string teamsA = dir / "teamsA.GMS", teamsB = dir / "teamsB.GMS", sounds = dir / "sounds.GMS";
    Carsets()
    {
        test::MakeDemo(game, 2, 2);
        // Both change team 3's first driver (index 4); only B also team 7's (index 13).
        CopyWithCarNumbers(game, dir / "X/", {4});
        CopyWithCarNumbers(game, dir / "Y/", {4, 13});
        test::MakeDemo(dir / "S/", 2, 1);
        EXPECT_EQ(run({"import", "--game", dir / "X/", "--items", "teams", "-o", teamsA}).code, 0);
        EXPECT_EQ(run({"import", "--game", dir / "Y/", "--items", "teams", "-o", teamsB}).code, 0);
        EXPECT_EQ(run({"import", "--game", dir / "S/", "--items", "sounds", "-o", sounds}).code, 0);
    }
    test::CliRun run(std::vector<std::string> args)
    {
        args.insert(args.end(), {"--restore-dir", points, "--quiet"});
        return test::RunCommand(std::move(args));
    }
};

} // namespace

TEST(CarsetConflictsCli, TwoTeamsCarsetsOverlapInWordsAndNothingIsWritten)
{
    Carsets c;
    const Snapshot before = Hashes({c.game, c.teamsA, c.teamsB, c.sounds});

    auto r = c.run({"carset", "conflicts", c.teamsA, c.teamsB, "--game", c.game});
    EXPECT_EQ(r.code, 3) << r.err;
    EXPECT_NE(r.out.find("items both carry:\n    1  "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  both change team 3's drivers\n"), std::string::npos) << r.out;
    // Team 7 changes in one carset only; the savegame checksum both renew
    // is no conflict.
    EXPECT_EQ(r.out.find("team 7"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("F1GSTATE"), std::string::npos) << r.out;

    auto json = c.run({"carset", "conflicts", c.teamsA, c.teamsB, "--game", c.game, "--json"});
    EXPECT_EQ(json.code, 3);
    auto doc = nlohmann::json::parse(json.out);
    EXPECT_TRUE(doc["overlapping"].get<bool>());
    ASSERT_EQ(doc["pairs"].size(), 1u);
    const auto& overlap = doc["pairs"][0]["overlaps"].at(0);
    EXPECT_EQ(overlap["path"], "GP3.EXE");
    EXPECT_EQ(overlap["ranges"], nlohmann::json::parse(R"([{"offset": 7583726, "length": 1}])"));
    EXPECT_EQ(overlap["words"], nlohmann::json::parse(R"(["both change team 3's drivers"])"));

    // Teams and sounds write different files: no conflict. Three carsets
    // make three pairs, one of them overlapping.
    auto apart = c.run({"carset", "conflicts", c.teamsA, c.sounds, "--game", c.game});
    EXPECT_EQ(apart.code, 0) << apart.err;
    EXPECT_NE(apart.out.find("items both carry: none\n  no bytes both would change\n"), std::string::npos) << apart.out;
    auto three = c.run({"carset", "conflicts", c.teamsA, c.sounds, c.teamsB, "--game", c.game, "--json"});
    EXPECT_EQ(three.code, 3);
    EXPECT_EQ(nlohmann::json::parse(three.out)["pairs"].size(), 3u);

    // Nothing was written: not the installation, not the carsets, no restore point.
    EXPECT_EQ(Hashes({c.game, c.teamsA, c.teamsB, c.sounds}), before);
    EXPECT_FALSE(DirectoryExists(c.points));

    // One carset is nothing to compare; a file that is no carset is named.
    EXPECT_EQ(c.run({"carset", "conflicts", c.teamsA, "--game", c.game}).code, 2);
    test::WriteText(c.dir / "not.GMS", "no zip");
    EXPECT_EQ(c.run({"carset", "conflicts", c.teamsA, c.dir / "not.GMS", "--game", c.game}).code, 1);
}
