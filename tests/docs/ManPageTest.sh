#!/bin/sh
# The man page the build wrote (BUILD_DIR/man/pitwall-cli.1) renders without
# a warning from man or groff and has the sections a man page has, and every
# command in it.
set -u
page=$1/man/pitwall-cli.1
errors=$(mktemp) && text=$(mktemp) || exit 1
trap 'rm -f "$errors" "$text"' EXIT
status=0

MANPAGER=cat MANWIDTH=80 LC_ALL=C.UTF-8 man -l --warnings -E UTF-8 "$page" >"$text" 2>"$errors" || status=1
groff -man -ww -z "$page" 2>>"$errors" || status=1
if [ -s "$errors" ]; then
    echo "FAIL: warnings rendering $page:"
    cat "$errors"
    status=1
fi
for section in NAME SYNOPSIS DESCRIPTION OPTIONS COMMANDS ENVIRONMENT FILES "EXIT STATUS"; do
    grep -q "^$section\$" "$text" || { echo "FAIL: no section $section"; status=1; }
done
# A backslash in a description (a game path) is printed, not taken for roff.
for line in "PITWALL_GAME" "PITWALL.INI" "pitwall-cli import [--game DIR] --items LIST" \
            "pitwall-cli cockpit lcd export" "--language NAME" 'gpsaves\seasona1.txt'; do
    grep -qF -- "$line" "$text" || { echo "FAIL: the page lacks '$line'"; status=1; }
done
[ $status = 0 ] && echo "man page: renders cleanly"
exit $status
