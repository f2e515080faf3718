#include "Commands.h"
#include "DefineCommands.h"
#include "JsonOutput.h"
#include "Suggestions.h"
#include "TerminalText.h"

#include "base/Windows1252.h"
#include "transfer/FormatMessages.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

namespace pitwall::cli {

namespace {

// The older positional spellings of -o and --language are hidden from the
// help, but CLI11 still lists each in the usage line, nameless, as "[]".
class HelpFormatter : public CLI::Formatter {
public:
    std::string make_usage(const CLI::App* app, std::string name) const override
    {
        std::string usage = CLI::Formatter::make_usage(app, std::move(name));
        for (auto at = usage.find(" []"); at != std::string::npos; at = usage.find(" []"))
            usage.erase(at, 3);
        return usage;
    }
};

int RunCommandLine(int argc, const char* const* argv, CliContext& context)
{
    CLI::App app;
    // Set before the commands are added: each takes its parent's formatter.
    app.formatter(std::make_shared<HelpFormatter>());
    DefineCommands(app, context);

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
            text = MessageTextToUtf8(FormatErrorText(*format, context.texts));
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
    return context.exitStatus;
}

} // namespace

int RunCli(int argc, const char* const* argv, CliContext& context)
{
    const int status = RunCommandLine(argc, argv, context);
    // What a command prints reaches a file or pipe only when its buffer is
    // written out; a full disk or a file-size limit shows here, and a script
    // must not take half a document for the whole.
    context.out.flush();
    if (!context.out) {
        context.err << "pitwall-cli: the output could not be written in full (is the disk full?); what was "
                       "printed is incomplete\n";
        return status == 2 ? 2 : 1;
    }
    return status;
}

} // namespace pitwall::cli
