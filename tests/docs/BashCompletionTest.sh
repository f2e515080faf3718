#!/bin/bash
# The bash completion the build wrote (BUILD_DIR/completions/pitwall-cli.bash):
# commands, options, item groups, language names and choices, as bash offers
# them for the words typed so far.
set -u
script=$1/completions/pitwall-cli.bash
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir important && : > imports.txt

# bash-completion sources a completion file inside a function: its tables
# must still be there afterwards.
load() { source "$script"; }
load
complete -p pitwall-cli >/dev/null || { echo "FAIL: no completion for pitwall-cli"; exit 1; }

failures=0
# expect WANT WORD...: completing the last word gives exactly WANT.
expect()
{
    local want=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _pitwall_cli
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
    if [[ "${got% }" != "$want" ]]; then
        echo "FAIL: '$*' completes to '${got% }', expected '$want'"
        failures=$((failures + 1))
    fi
}

expect import pitwall-cli imp
expect --items pitwall-cli import --it
expect teams pitwall-cli import --items tea
expect "teams,sounds" pitwall-cli import --items teams,so
# bash splits "--items=tr" at the "=" (COMP_WORDBREAKS).
expect "track-pictures tracks" pitwall-cli apply x.GMS --items = tr
expect "v1.13 v1.13-video" pitwall-cli make-demo --game-version v1.1
# Global options before the command, and commands below commands.
expect --game pitwall-cli --quiet art menu export-all --ga
expect "export import" pitwall-cli cockpit lcd ""
# Language names for --language and for the LANGUAGE argument, then a file.
expect DEUTSCH pitwall-cli cockpit render --language DE
expect ENGLISH pitwall-cli text import --language EN
expect "important imports.txt" pitwall-cli text export --language ENGLISH -o imp
# An option's value is a directory or file, never taken for a command.
expect important pitwall-cli --restore-dir imp
expect "important imports.txt" pitwall-cli import -o imp
expect import pitwall-cli --restore-dir important imp
# A flag takes no value: the next word is the command.
expect import pitwall-cli --quiet imp

((failures == 0)) || exit 1
echo "bash completion: all offered as expected"
