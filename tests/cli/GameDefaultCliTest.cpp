#include "CliRunner.h"
#include "TestSupport.h"

#include "base/FileUtils.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>

using namespace pitwall;

namespace {

// An environment variable of this process set (or removed) for a while.
class EnvironmentOverride {
public:
    EnvironmentOverride(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            test::SetEnvironment(name, value);
        else
            test::UnsetEnvironment(name);
    }
    ~EnvironmentOverride()
    {
        if (old_)
            test::SetEnvironment(name_, old_->c_str());
        else
            test::UnsetEnvironment(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Runs a command as a pitwall-cli installed in a directory it cannot write
// to (here: one that does not exist), so the desktop program's settings are
// in the user's configuration directory.
test::CliRun RunInstalled(const std::string& programDirectory, std::vector<std::string> args)
{
    args.insert(args.begin(), "pitwall-cli");
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out, err;
    cli::CliContext context(out, err, programDirectory);
    test::CliRun r;
    r.code = cli::RunCli(static_cast<int>(argv.size()), argv.data(), context);
    r.out = out.str();
    r.err = err.str();
    return r;
}

} // namespace

TEST(GameDefaultCli, EnvironmentThenDesktopSettingsThenASayingError)
{
    test::TempDir dir;
    std::string game = dir / "G", program = dir / "no-such-program/", config = dir / "config";
    test::MakeDemo(game, 2, 1);
    EnvironmentOverride home("XDG_CONFIG_HOME", config.c_str());
    auto withGame = RunInstalled(program, {"teams", "show", "--quiet", "--game", game});
    ASSERT_EQ(withGame.code, 0) << withGame.err;

    {
        EnvironmentOverride env("PITWALL_GAME", game.c_str());
        auto fromEnvironment = RunInstalled(program, {"teams", "show", "--quiet"});
        EXPECT_EQ(fromEnvironment.code, 0) << fromEnvironment.err;
        EXPECT_EQ(fromEnvironment.out, withGame.out);
    }

    EnvironmentOverride noEnv("PITWALL_GAME", nullptr);
    auto neither = RunInstalled(program, {"teams", "show", "--quiet"});
    EXPECT_EQ(neither.code, 2); // a usage error, as a missing option is
    EXPECT_EQ(neither.out, "");
    for (const char* named : {"--game", "PITWALL_GAME", "PITWALL.INI"})
        EXPECT_NE(neither.err.find(named), std::string::npos) << named << " in: " << neither.err;
    EXPECT_NE(neither.err.find(config), std::string::npos) << neither.err;

    // The desktop program's settings name the game; reading them leaves the file as it was.
    ForceDirectories(config + "/pitwall");
    const std::string ini = "[General]\r\nGP3Path=" + game + "/\r\nFirstTime=1\r\n";
    std::ofstream(config + "/pitwall/PITWALL.INI", std::ios::binary) << ini;
    auto fromSettings = RunInstalled(program, {"teams", "show", "--quiet"});
    EXPECT_EQ(fromSettings.code, 0) << fromSettings.err;
    EXPECT_EQ(fromSettings.out, withGame.out);
    EXPECT_EQ(test::ReadText(config + "/pitwall/PITWALL.INI"), ini);

    // A stale default says where it came from.
    std::ofstream(config + "/pitwall/PITWALL.INI", std::ios::binary) << "[General]\r\nGP3Path=" + dir / "gone" + "\r\n";
    auto stale = RunInstalled(program, {"teams", "show", "--quiet"});
    EXPECT_EQ(stale.code, 1);
    EXPECT_NE(stale.err.find("GP3Path in " + config), std::string::npos) << stale.err;

    // --game still wins over both.
    EnvironmentOverride env("PITWALL_GAME", (dir / "nowhere").c_str());
    auto given = RunInstalled(program, {"teams", "show", "--quiet", "--game", game});
    EXPECT_EQ(given.code, 0) << given.err;
    auto staleEnvironment = RunInstalled(program, {"teams", "show", "--quiet"});
    EXPECT_EQ(staleEnvironment.code, 1);
    EXPECT_NE(staleEnvironment.err.find("PITWALL_GAME names " + dir / "nowhere"), std::string::npos)
        << staleEnvironment.err;
}

TEST(InstalledCli, DataFromSharePitwallAndTheDesktopSettingsFromTheUsersConfiguration)
{
    // bin/ holds only the program; a writable prefix changes nothing.
    test::TempDir dir;
    const std::string bin = dir / "prefix/bin/", data = dir / "prefix/share/pitwall/", game = dir / "G";
    const std::string config = dir / "config", png = dir / "lcd.png";
    ForceDirectories(bin);
    for (const char* file : {"ENGLISH.LNG", "GP3 Palette.pal", "Font.BMP"})
        ASSERT_TRUE(CopyFileForced(std::string(PITWALL_RUNTIME_DIR "/") + file, data + file)) << file;
    test::MakeDemo(game, 2, 1);
    EnvironmentOverride configHome("XDG_CONFIG_HOME", config.c_str());
    EnvironmentOverride noEnv("PITWALL_GAME", nullptr);

    auto render = RunInstalled(bin, {"cockpit", "render", "--game", game, "--language", "ENGLISH", "--screen",
                                     "driving_race_text", png, "--quiet"});
    EXPECT_EQ(render.code, 0) << render.err;
    EXPECT_TRUE(FileExists(png));

    ForceDirectories(config + "/pitwall");
    std::ofstream(config + "/pitwall/PITWALL.INI", std::ios::binary) << "[General]\r\nGP3Path=" + game + "/\r\n";
    auto fromSettings = RunInstalled(bin, {"teams", "show", "--quiet"});
    EXPECT_EQ(fromSettings.code, 0) << fromSettings.err;
    EXPECT_FALSE(FileExists(data + "PITWALL.INI"));
}
