#include "CompletionData.h"
#include "Writers.h"

#include <sstream>

namespace pitwall::clidocs {

namespace {

// The completion itself: walks the words before the cursor through the
// commands, skipping option values, then offers the commands and options of
// where it got to, or the value the word before asks for. Plain bash: it
// needs nothing of the bash-completion package, and works under set -u.
const char* const kFunctions = R"(
_pitwall_cli_values()
{
    local kind=$1 cur=$2 prefix=""
    case $kind in
    items)
        # A comma-separated list: complete its last word.
        [[ $cur == *,* ]] && prefix=${cur%,*},
        mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -P "$prefix" -W "$_pitwall_cli_item_groups" -- "${cur##*,}") ;;
    language)
        mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -W "$_pitwall_cli_languages" -- "$cur") ;;
    dir)
        compopt -o filenames 2>/dev/null
        mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -d -- "$cur") ;;
    file)
        compopt -o filenames 2>/dev/null
        mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -f -- "$cur") ;;
    choice:*)
        mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -W "${kind#choice:}" -- "$cur") ;;
    esac
}

_pitwall_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} path=pitwall-cli word kind="" i positional=0
    COMPREPLY=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ -n $kind ]]; then
            # "--option=value" comes as three words.
            [[ $word == = ]] || kind=""
            continue
        fi
        if [[ $word == -* ]]; then
            kind=${_pitwall_cli_values["$path|$word"]-}
        elif [[ " ${_pitwall_cli_commands[$path]-} " == *" $word "* ]]; then
            path+=" $word"
            positional=0
        else
            ((positional++))
        fi
    done
    [[ $cur == = ]] && cur=""
    if [[ -n $kind ]]; then
        _pitwall_cli_values "$kind" "$cur"
        return 0
    fi
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "${_pitwall_cli_options[$path]-}" -- "$cur")
        return 0
    fi
    if ((positional == 0)); then
        mapfile -t COMPREPLY < <(compgen -W "${_pitwall_cli_commands[$path]-}" -- "$cur")
    fi
    local -a positionals=(${_pitwall_cli_positionals[$path]-})
    ((positional < ${#positionals[@]})) && _pitwall_cli_values "${positionals[positional]}" "$cur"
    return 0
}

complete -F _pitwall_cli pitwall-cli
)";

} // namespace

std::string BashCompletion(const CommandDoc& root)
{
    std::ostringstream out;
    out << "# bash completion for pitwall-cli, made from its command definitions by pitwall-cli-docs.\n"
        << "# Global (declare -g): bash-completion loads this file inside a function.\n\n";
    out << "_pitwall_cli_item_groups=" << ShellQuoted(Joined(ItemGroupNames(), " ")) << "\n";
    out << "_pitwall_cli_languages=" << ShellQuoted(Joined(LanguageNames(), " ")) << "\n";
    std::ostringstream commands, options, values, positionals;
    for (const CommandDoc* command : AllCommands(root)) {
        const std::string path = command->path.empty() ? "pitwall-cli" : "pitwall-cli " + command->path;
        const std::string key = ShellQuoted(path);
        std::vector<std::string> names;
        for (const auto& c : command->commands)
            names.push_back(c.name);
        if (!names.empty())
            commands << "    [" << key << "]=" << ShellQuoted(Joined(names, " ")) << "\n";
        names.clear();
        for (const ArgumentDoc* option : OptionsAt(root, command->path)) {
            for (const auto& name : option->names) {
                names.push_back(name);
                if (std::string kind = KindWord(*option); !kind.empty())
                    values << "    [" << ShellQuoted(path + "|" + name) << "]=" << ShellQuoted(kind) << "\n";
            }
        }
        options << "    [" << key << "]=" << ShellQuoted(Joined(names, " ")) << "\n";
        if (std::string kinds = PositionalKinds(*command); !kinds.empty())
            positionals << "    [" << key << "]=" << ShellQuoted(kinds) << "\n";
    }
    out << "# The commands below each command.\ndeclare -gA _pitwall_cli_commands=(\n" << commands.str() << ")\n";
    out << "# The options valid after each command.\ndeclare -gA _pitwall_cli_options=(\n" << options.str() << ")\n";
    out << "# What the value of each option that takes one is.\ndeclare -gA _pitwall_cli_values=(\n"
        << values.str() << ")\n";
    out << "# What each command's arguments are, in order.\ndeclare -gA _pitwall_cli_positionals=(\n"
        << positionals.str() << ")\n";
    out << kFunctions;
    return out.str();
}

} // namespace pitwall::clidocs
