// make-demo, info and checksum: commands about a game installation as a whole.

#include "Commands.h"
#include "PaletteOption.h"
#include "GameOption.h"
#include "OutputOptions.h"
#include "JsonOutput.h"

#include "DemoInstallation.h"
#include "GameWrites.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/GameInstallation.h"
#include "transfer/SavegameChecksum.h"

#include <cstdio>
#include <map>
#include <optional>

namespace pitwall::cli {

namespace {

std::string Hex32(std::uint32_t v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", v);
    return buf;
}

// A directory that passes the start-up checks, or CommandFailure with the
// reason the editor would show.
GameDetection RequireInstallation(CliContext& context, const std::string& gameDirectory)
{
    if (!DirectoryExists(gameDirectory))
        throw CommandFailure("not a directory: " + gameDirectory);
    GameDetection d = DetectGameVersions(IncludeTrailingBackslash(gameDirectory));
    if (!d.ok) {
        std::string reason = context.texts.text(d.messageNumber);
        for (auto& c : reason)
            if (c == '\n')
                c = ' ';
        throw CommandFailure("not a valid Grand Prix 3 installation: " + reason);
    }
    return d;
}

} // namespace

void AddInstallationCommands(CLI::App& app, CliContext& context)
{
    // make-demo
    {
        auto* cmd = app.add_subcommand("make-demo", "Write a synthetic Grand Prix 3 installation into a folder");
        auto dir = std::make_shared<std::string>();
        auto version = std::make_shared<std::string>("v1.13");
        auto seed = std::make_shared<std::uint64_t>(1);
        AddOutputOption(cmd, *dir, "DIR", "Folder to write the installation into (made when missing)");
        cmd->add_option("--game-version", *version, "v1.00, v1.13 or v1.13-video")
            ->check(CLI::IsMember({"v1.00", "v1.13", "v1.13-video"}));
        cmd->add_option("--seed", *seed, "Seed of the generated values");
        cmd->callback([&context, dir, version, seed] {
            static const std::map<std::string, int> versions = {{"v1.00", 1}, {"v1.13", 2}, {"v1.13-video", 3}};
            RequireOutput(*dir);
            // Its files would replace those of a real installation there,
            // with no restore point: only a folder without a game takes one.
            if (FileExists(ResolveGamePath(IncludeTrailingBackslash(*dir), "GP3.EXE")))
                throw CommandFailure(*dir
                                     + " already holds a Grand Prix 3 installation (GP3.EXE); "
                                       "make-demo writes only into a folder without one");
            demo::DemoOptions options;
            options.gameVersion = versions.at(*version);
            options.seed = *seed;
            demo::WriteDemoInstallation(*dir, options);
            if (!context.quiet)
                context.err << "wrote a " << GameVersionName(options.gameVersion) << " installation to " << *dir
                            << '\n';
        });
    }
    // info
    {
        auto* cmd = app.add_subcommand("info", "Show the game version and savegame format of an installation");
        auto game = std::make_shared<std::string>();
        AddGameOption(cmd, *game, context);
        AddJsonFlag(*cmd, context);
        cmd->callback([&context, game] {
            GameDetection d = RequireInstallation(context, *game);
            std::string problem;
            const CommandPalette palette = LoadCommandPalette(context, &problem);
            if (context.json) {
                PrintJson(context, Json{{"gameVersion", GameVersionName(d.gameVersion)},
                                        {"savegameFormat", d.savegameFormat},
                                        {"palette", Json{{"file", palette.palette ? palette.file : std::string()},
                                                         {"standIn", palette.standIn}}}});
                return;
            }
            context.out << "game version: " << GameVersionName(d.gameVersion) << '\n'
                        << "savegame format: " << d.savegameFormat << '\n';
            // 8-bit pictures are shown, exported and reduced with the
            // palette, so a stand-in is worth saying every time.
            if (!palette.palette)
                context.out << "palette: none (" << problem << ")\n";
            else if (palette.standIn)
                context.out << "palette: the stand-in shipped with Pitwall, not the game's colours; 8-bit pictures "
                               "get wrong colours (name yours with --palette FILE or PITWALL_PALETTE)\n";
            else
                context.out << "palette: " << palette.file << '\n';
        });
    }
    // checksum
    {
        auto* cmd = app.add_subcommand("checksum", "Show (or fix) the checksum of F1GSTATE.SAV");
        auto game = std::make_shared<std::string>();
        auto fix = std::make_shared<bool>(false);
        AddGameOption(cmd, *game, context);
        cmd->add_flag("--fix", *fix, "Write the computed checksum into the savegame");
        AddJsonFlag(*cmd, context);
        cmd->callback([&context, game, fix] {
            if (!DirectoryExists(*game))
                throw CommandFailure("not a directory: " + *game);
            std::string save = GameFilePath(IncludeTrailingBackslash(*game), kSavegameName);
            if (!FileExists(save))
                throw CommandFailure(context.texts.format(349, Args(save)));
            const FileStamp read = StampOf(save);
            auto bytes = ReadWholeFile(save, 64u * 1024 * 1024);
            if (bytes.size() < 4)
                throw CommandFailure("the savegame is too short to hold a checksum: " + save);
            std::uint32_t stored = StoredSavegameChecksum(bytes);
            std::uint32_t computed = ComputeSavegameChecksum(bytes);
            if (!context.json)
                context.out << "stored:   " << Hex32(stored) << '\n' << "computed: " << Hex32(computed) << '\n';
            const bool fixing = *fix && stored != computed;
            if (fixing) {
                // Only the last four bytes change, behind a restore point
                // like every other write into the installation.
                WriteSavegameChecksum(bytes);
                ReplaceFileGuarded(context, save, std::move(bytes), read);
                if (!context.json)
                    context.out << "fixed\n";
            }
            // The document comes after the write, so a failed fix is only
            // the error.
            if (context.json)
                PrintJson(context, Json{{"stored", stored}, {"computed", computed}, {"fixed", fixing}});
        });
    }
}

} // namespace pitwall::cli
