#include "CompletionData.h"
#include "Writers.h"

#include <sstream>

namespace pitwall::clidocs {

namespace {

// "name:description" as _describe takes it: a colon in the name is escaped.
std::string Described(const std::string& name, const std::string& description)
{
    std::string escaped;
    for (char c : name) {
        if (c == ':')
            escaped += '\\';
        escaped += c;
    }
    return escaped + ":" + description;
}

// Walks the words before the cursor as the bash completion does, then offers
// commands and options with their descriptions, or the value asked for.
// (Not "path": in zsh that is the array tied to PATH.)
const char* const kBody = R"(
local cur=${words[CURRENT]} cmdpath=pitwall-cli word kind="" i positional=0
local -a described positionals
for ((i = 2; i < CURRENT; i++)); do
    word=${words[i]}
    if [[ -n $kind ]]; then
        kind=""
        continue
    fi
    if [[ $word == -* ]]; then
        [[ $word == *=* ]] || kind=${_pitwall_cli_values[$cmdpath|$word]-}
    elif (( ${${(s: :)_pitwall_cli_commands[$cmdpath]-}[(Ie)$word]} )); then
        cmdpath+=" $word"
        positional=0
    else
        ((positional++))
    fi
done
if [[ -z $kind && $cur == --*=* ]]; then
    kind=${_pitwall_cli_values[$cmdpath|${cur%%=*}]-}
    compset -P '*='
fi
if [[ -z $kind ]]; then
    if [[ $cur == -* ]]; then
        described=("${(@f)_pitwall_cli_described_options[$cmdpath]-}")
        _describe -t options option described
        return
    fi
    if ((positional == 0)) && [[ -n ${_pitwall_cli_described_commands[$cmdpath]-} ]]; then
        described=("${(@f)_pitwall_cli_described_commands[$cmdpath]-}")
        _describe -t commands command described
    fi
    positionals=(${(s: :)_pitwall_cli_positionals[$cmdpath]-})
    kind=${positionals[positional + 1]-}
fi
case $kind in
items)
    compset -P '*,'
    compadd -S '' -- ${(s: :)_pitwall_cli_item_groups} ;;
language)
    compadd -- ${(s: :)_pitwall_cli_languages} ;;
dir)
    _files -/ ;;
file)
    _files ;;
choice:*)
    compadd -- ${(s: :)${kind#choice:}} ;;
esac
)";

} // namespace

std::string ZshCompletion(const CommandDoc& root)
{
    std::ostringstream out;
    out << "#compdef pitwall-cli\n"
        << "# zsh completion for pitwall-cli, made from its command definitions by pitwall-cli-docs.\n\n";
    out << "typeset -g _pitwall_cli_item_groups=" << ShellQuoted(Joined(ItemGroupNames(), " ")) << "\n";
    out << "typeset -g _pitwall_cli_languages=" << ShellQuoted(Joined(LanguageNames(), " ")) << "\n";
    out << "typeset -gA _pitwall_cli_commands _pitwall_cli_described_commands _pitwall_cli_described_options "
           "_pitwall_cli_values _pitwall_cli_positionals\n";
    for (const CommandDoc* command : AllCommands(root)) {
        const std::string path = command->path.empty() ? "pitwall-cli" : "pitwall-cli " + command->path;
        const std::string key = ShellQuoted(path);
        std::vector<std::string> names, described;
        for (const auto& c : command->commands) {
            names.push_back(c.name);
            described.push_back(Described(c.name, c.description));
        }
        if (!names.empty()) {
            out << "_pitwall_cli_commands+=(" << key << " " << ShellQuoted(Joined(names, " ")) << ")\n";
            out << "_pitwall_cli_described_commands+=(" << key << " " << ShellQuoted(Joined(described, "\n")) << ")\n";
        }
        described.clear();
        for (const ArgumentDoc* option : OptionsAt(root, command->path)) {
            for (const auto& name : option->names) {
                described.push_back(Described(name, option->description));
                if (std::string kind = KindWord(*option); !kind.empty())
                    out << "_pitwall_cli_values+=(" << ShellQuoted(path + "|" + name) << " " << ShellQuoted(kind)
                        << ")\n";
            }
        }
        out << "_pitwall_cli_described_options+=(" << key << " " << ShellQuoted(Joined(described, "\n")) << ")\n";
        if (std::string kinds = PositionalKinds(*command); !kinds.empty())
            out << "_pitwall_cli_positionals+=(" << key << " " << ShellQuoted(kinds) << ")\n";
    }
    out << kBody;
    return out.str();
}

} // namespace pitwall::clidocs
