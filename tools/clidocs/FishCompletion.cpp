#include "CompletionData.h"
#include "Writers.h"

#include <sstream>

namespace pitwall::clidocs {

namespace {

// Inside fish's single quotes only \ and ' are special.
std::string FishQuoted(const std::string& word)
{
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\\' || c == '\'')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "'";
}

// __pitwall_cli_path walks the words before the cursor through the commands
// (skipping option values) and prints where it got to; each completion below
// holds for one such place.
const char* const kFunctions = R"(
function __pitwall_cli_path
    set -l path pitwall-cli
    set -l skip 0
    for word in (commandline -opc)[2..-1]
        if test $skip = 1
            set skip 0
        else if string match -q -- '-*' $word
            if contains -- "$path|$word" $__pitwall_cli_valued
                set skip 1
            end
        else if contains -- "$path $word" $__pitwall_cli_paths
            set path "$path $word"
        end
    end
    echo $path
end

function __pitwall_cli_at
    test (__pitwall_cli_path) = "$argv[1]"
end

# A comma-separated list of items: complete its last word.
function __pitwall_cli_items
    set -l prefix (string match -r -- '.*,' (commandline -ct))
    or set prefix ''
    for group in $__pitwall_cli_item_groups
        echo $prefix$group
    end
end

complete -c pitwall-cli -f
)";

std::string ValueArguments(const std::string& kind)
{
    if (kind == "items")
        return " -f -a '(__pitwall_cli_items)'";
    if (kind == "language")
        return " -f -a '$__pitwall_cli_languages'";
    if (kind == "dir")
        return " -f -a '(__fish_complete_directories (commandline -ct))'";
    if (kind == "file")
        return " -F";
    if (kind.rfind("choice:", 0) == 0)
        return " -f -a " + FishQuoted(kind.substr(7));
    return " -f";
}

} // namespace

std::string FishCompletion(const CommandDoc& root)
{
    std::ostringstream out;
    out << "# fish completion for pitwall-cli, made from its command definitions by pitwall-cli-docs.\n\n";
    out << "set -g __pitwall_cli_item_groups";
    for (const auto& g : ItemGroupNames())
        out << ' ' << FishQuoted(g);
    out << "\nset -g __pitwall_cli_languages";
    for (const auto& l : LanguageNames())
        out << ' ' << FishQuoted(l);
    std::ostringstream paths, valued, completions;
    for (const CommandDoc* command : AllCommands(root)) {
        const std::string path = command->path.empty() ? "pitwall-cli" : "pitwall-cli " + command->path;
        const std::string at = " -n " + FishQuoted("__pitwall_cli_at " + FishQuoted(path));
        paths << " \\\n    " << FishQuoted(path);
        for (const auto& c : command->commands)
            completions << "complete -c pitwall-cli" << at << " -a " << FishQuoted(c.name) << " -d "
                        << FishQuoted(c.description) << "\n";
        for (const ArgumentDoc* option : OptionsAt(root, command->path)) {
            const std::string kind = KindWord(*option);
            completions << "complete -c pitwall-cli" << at;
            for (const auto& name : option->names) {
                completions << (name.rfind("--", 0) == 0 ? " -l " + name.substr(2) : " -s " + name.substr(1));
                if (!kind.empty())
                    valued << " \\\n    " << FishQuoted(path + "|" + name);
            }
            if (!kind.empty())
                completions << " -r" << ValueArguments(kind);
            completions << " -d " << FishQuoted(option->description) << "\n";
        }
        // Fish does not count the arguments: each kind the command takes is offered.
        for (const auto& p : command->positionals)
            if (p.kind != ValueKind::Other)
                completions << "complete -c pitwall-cli" << at << ValueArguments(KindWord(p)) << "\n";
    }
    out << "\nset -g __pitwall_cli_paths" << paths.str() << "\n";
    out << "set -g __pitwall_cli_valued" << valued.str() << "\n";
    out << kFunctions << "\n" << completions.str();
    return out.str();
}

} // namespace pitwall::clidocs
