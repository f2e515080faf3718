#!/usr/bin/env zsh
# The zsh completion the build wrote (BUILD_DIR/completions/_pitwall-cli),
# loaded as zsh loads it (autoload from fpath), with the completion system's
# compadd, _describe, _files and compset standing in: checks what it offers.
setopt no_unset
fpath=($1/completions $fpath)
autoload -Uz _pitwall-cli

typeset -a offered
# What the word under the cursor still has to match (after a "*," prefix
# compset took off).
typeset matching
offers() { local w; for w in "$@"; do [[ $w == ${matching}* ]] && offered+=("$w"); done }
compadd() {
    while [[ $# -gt 0 && $1 == -* && $1 != -- ]]; do
        [[ $1 == -[SPpJXx] ]] && shift
        shift
    done
    [[ ${1-} == -- ]] && shift
    offers "$@"
}
_describe() { local -a list; list=("${(@P)${@[-1]}}"); offers "${list[@]%%:*}" }
_files() { offered+=("<${1:-files}>") }
compset() { [[ $2 == '*,' && $matching == *,* ]] && matching=${matching##*,}; [[ $2 == '*=' ]] && matching=${matching#*=}; return 0 }

failures=0
expect() {
    local want=$1
    shift
    words=("$@")
    CURRENT=$#
    matching=${words[CURRENT]}
    offered=()
    _pitwall-cli
    local got=${(j: :)${(o)offered}}
    if [[ $got != $want ]]; then
        print -r -- "FAIL: '$*' completes to '$got', expected '$want'"
        ((failures++))
    fi
}

expect import pitwall-cli imp
expect --items pitwall-cli import --it
expect teams pitwall-cli import --items tea
expect sounds pitwall-cli import --items teams,so
expect "track-pictures tracks" pitwall-cli apply x.GMS --items=tr
expect "v1.13 v1.13-video" pitwall-cli make-demo --game-version v1.1
expect --game pitwall-cli --quiet art menu export-all --ga
expect DEUTSCH pitwall-cli cockpit render --language DE
expect ENGLISH pitwall-cli text import --language EN
expect "<files>" pitwall-cli text export --language ENGLISH -o x
expect "<-/>" pitwall-cli --restore-dir imp
expect import pitwall-cli --restore-dir important imp

((failures == 0)) || exit 1
print "zsh completion: all offered as expected"
