#!/bin/bash
# README's command list (the indented lines of "## Command line") shows
# every command of pitwall-cli on exactly one line: "art info ... | art export"
# and "cockpit lcd export|import" count for each command they name. The
# commands come from the completion the build wrote from the definitions.
set -u
source "$1/completions/pitwall-cli.bash" || exit 1
lines=$(awk '/^## Command line/ { inside = 1; next } /^## / { inside = 0 } inside && /^    pitwall-cli /' "$2/README.md")
status=0
for path in "${!_pitwall_cli_options[@]}"; do
    [[ -n ${_pitwall_cli_commands[$path]-} ]] && continue # only the commands that run something
    command=${path#pitwall-cli }
    parent=${command% *}
    if [[ $parent == "$command" ]]; then
        pattern="(^ *pitwall-cli |\| )$command( |$)"
    else
        pattern="(^ *pitwall-cli |\| )$parent ([a-z-]+\|)*${command##* }( |\||$)"
    fi
    count=$(grep -Ec -- "$pattern" <<<"$lines")
    if [[ $count != 1 ]]; then
        echo "FAIL: README's command list shows '$command' on $count lines"
        status=1
    fi
done
[[ $status == 0 ]] && echo "README lists every command once"
exit $status
