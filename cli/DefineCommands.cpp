#include "DefineCommands.h"

#include "Commands.h"

#include <functional>

namespace pitwall::cli {

void DefineCommands(CLI::App& app, CliContext& context)
{
    app.name("pitwall-cli");
    app.description("pitwall-cli: the headless Pitwall, for Grand Prix 3 installations and carsets");
    app.set_version_flag("--version", std::string("pitwall-cli ") + PITWALL_VERSION);
    app.require_subcommand(1);
    // The same options on every system: on Windows a path may start with a
    // slash (the root of the current drive) and is never an option "/x".
    app.allow_windows_style_options(false);
    app.add_flag("--quiet", context.quiet, "Print only data and errors: no progress lines or notes");
    app.add_flag("--verbose", context.verbose, "Notes in more detail (each file written)");
    app.add_option("--restore-dir", context.restoreRoot,
                   "Where restore points are kept (default: the user's data directory)");
    app.add_option("--palette", context.paletteFile,
                   "The game palette: a JASC-PAL, RIFF PAL, ACT or GPL file, or an 8-bit BMP or PNG with the game's "
                   "colours (default: PITWALL_PALETTE, the desktop program's choice, or the stand-in shipped with "
                   "Pitwall)");
    // Test hook: stop as a crash would after writing this many game files.
    app.add_option("--test-kill-after-files", context.killAfterFiles)->group("");
    app.add_option("--test-lock-wait-ms", context.lockWaitMilliseconds)->group("");
    AddInstallationCommands(app, context);
    AddTransferCommands(app, context);
    AddCarsetCommands(app, context);
    AddLibraryCommands(app, context);
    AddTeamsCommands(app, context);
    AddSettingsCommands(app, context);
    AddBackupCommands(app, context);
    AddJamCommands(app, context);
    AddArtCommands(app, context);
    AddMenuArtCommands(app, context);
    AddSoundCommands(app, context);
    AddTextCommands(app, context);
    AddTrackCommands(app, context);
    AddCockpitCommands(app, context);
    AddCareerCommands(app, context);
    AddTracksCommands(app, context);
    AddGraphicsCommands(app, context);
    AddItemsCommand(app, context);
    // Global flags such as --quiet may also follow the command.
    std::function<void(CLI::App&)> fallThrough = [&](CLI::App& parent) {
        for (CLI::App* command : parent.get_subcommands([](CLI::App*) { return true; })) {
            command->fallthrough();
            fallThrough(*command);
        }
    };
    fallThrough(app);
}

} // namespace pitwall::cli
