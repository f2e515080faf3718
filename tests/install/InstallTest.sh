#!/bin/sh
# Installs a finished build into a scratch prefix and runs the installed
# programs from another folder: pitwall-cli finds its palette, font and
# language files in share/pitwall, and the desktop program keeps PITWALL.INI
# in the user's configuration directory, not in the prefix.
# Usage: tests/install/InstallTest.sh [BUILD-DIRECTORY]
set -eu
build="$(cd "${1:-build}" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT INT TERM

fail() {
    echo "install test: $*" >&2
    exit 1
}

prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
[ -f "$prefix/lib/pitwall/pitwall-sound.so" ] || [ ! -f "$build/bin/pitwall-sound.so" ] ||
    fail "the sound module is not in lib/pitwall"
[ ! -e "$prefix/bin/pitwall-sound.so" ] || fail "the sound module was installed into bin/"

mkdir "$scratch/elsewhere" "$scratch/home"
cd "$scratch/elsewhere"
cli="$prefix/bin/pitwall-cli"
export HOME="$scratch/home"
unset XDG_CONFIG_HOME XDG_CACHE_HOME PITWALL_GAME

run() {
    "$cli" "$@" --quiet >"$scratch/out" 2>&1 || {
        cat "$scratch/out" >&2
        fail "pitwall-cli $* failed"
    }
}

run make-demo A
run make-demo B --seed 7
jam="$(find A/GP3JAMS -iname '*.jam' | head -n 1)"
[ -n "$jam" ] || fail "the demo has no software JAM"
run jam to-bmp "$jam" page.png
run jam from-bmp "$jam" page.png -o again.jam
run cockpit render --game A --language ENGLISH --screen driving_race_text cockpit.png
run import --game A --items all -o all.GMS
run apply all.GMS --game B --yes
[ -s cockpit.png ] && [ -s again.jam ] && [ -s all.GMS ] || fail "a command wrote nothing"

# The desktop program, told the game by the settings in the user's
# configuration directory (as a first start would leave them), writes its
# settings back there on the way out.
gui="$prefix/bin/pitwall"
if [ -x "$gui" ]; then
    config="$HOME/.config/pitwall"
    mkdir -p "$config"
    printf '[General]\r\nGP3Path=%s/\r\nFirstTime=0\r\n' "$scratch/elsewhere/A" >"$config/PITWALL.INI"
    QT_QPA_PLATFORM=offscreen timeout 120 "$gui" --exit-after-first-paint >"$scratch/out" 2>&1 || {
        cat "$scratch/out" >&2
        fail "the installed desktop program did not start and end by itself"
    }
    grep -q '^Language=' "$config/PITWALL.INI" || fail "the desktop program wrote no settings to $config"
fi
if find "$prefix" -name PITWALL.INI -o -name TEMP | grep -q .; then
    fail "settings or working files were created inside the prefix"
fi
echo "install test passed"
