#include "Commands.h"
#include "JsonOutput.h"
#include "Suggestions.h"
#include "TerminalText.h"

#include "base/Windows1252.h"
#include "transfer/FormatMessages.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <string_view>

namespace pitwall::cli {

int RunCli(int argc, const char* const* argv, CliContext& context)
{
    CLI::App app{"pitwall-cli: the headless Pitwall, for Grand Prix 3 installations and carsets", "pitwall-cli"};
    app.set_version_flag("--version", std::string("pitwall-cli ") + PITWALL_VERSION);
    app.require_subcommand(1);
    app.add_flag("--quiet", context.quiet, "Print only data and errors: no progress lines or notes");
    app.add_flag("--verbose", context.verbose, "Notes in more detail (each file written)");
    app.add_option("--restore-dir", context.restoreRoot,
                   "Where restore points are kept (default: the user's data directory)");
    // Test hook: stop as a crash would after writing this many game files.
    app.add_option("--test-kill-after-files", context.killAfterFiles)->group("");
    app.add_option("--test-lock-wait-ms", context.lockWaitMilliseconds)->group("");
    AddInstallationCommands(app, context);
    AddTransferCommands(app, context);
    AddCarsetCommands(app, context);
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

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        context.out << app.help();
        return 0;
    } catch (const CLI::CallForAllHelp&) {
        context.out << app.help("", CLI::AppFormatMode::All);
        return 0;
    } catch (const CLI::CallForVersion&) {
        context.out << app.version() << '\n';
        return 0;
    } catch (const CLI::ParseError& e) {
        // A mistyped command or option is named, with the name it is nearest to.
        Suggestion s = SuggestName(app, argc, argv);
        std::string message;
        if (!s.nearest.empty())
            message = "unknown " + std::string(s.word[0] == '-' ? "option" : "command") + " '" + TerminalLine(s.word)
                + "': did you mean '" + s.nearest + "'?";
        else
            message = TerminalLine(e.what());
        context.err << "pitwall-cli: " << message << "\nRun with --help for usage.\n";
        // The line may stop before --json is read: a script that asked for
        // JSON gets the error as JSON all the same.
        if (context.json
            || std::any_of(argv + 1, argv + argc, [](const char* a) { return std::string_view(a) == "--json"; }))
            PrintJson(context, Json{{"error", message}});
        return 2;
    } catch (const std::exception& e) {
        // Failures may name carset members or quote game files, and may list
        // several things, one per line: each line is escaped on its own. A
        // file format's error that no command reported says its UI text.
        std::string text = e.what();
        if (const auto* format = dynamic_cast<const FormatError*>(&e); format && format->number() >= 0)
            text = Windows1252ToUtf8(FormatErrorText(*format, context.texts));
        if (context.json)
            PrintJson(context, Json{{"error", MessageTextToUtf8(text)}});
        std::size_t start = 0;
        const char* prefix = "pitwall-cli: ";
        while (true) {
            std::size_t end = text.find('\n', start);
            context.err << prefix << TerminalLine(text.substr(start, end == std::string::npos ? end : end - start))
                        << '\n';
            if (end == std::string::npos)
                break;
            start = end + 1;
            prefix = "";
        }
        return 1;
    }
    return 0;
}

} // namespace pitwall::cli
