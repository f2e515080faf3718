#!/bin/sh
# Runs the core and command-line test programs of the Windows build
# (scripts/build-windows.sh) under Wine, and then pitwall-cli.exe itself on a
# game folder named "Grüße Spiel": make-demo, info, import and apply, with the
# game files and the carset members compared byte for byte with what the
# Linux build writes for the same seeds (when a Linux pitwall-cli is given).
#
#   scripts/test-windows.sh [<Linux pitwall-cli>]
#
# Tests that cannot apply on Windows skip themselves and say why; the list of
# skipped tests and their reasons ends the output. Exit status 0 only when
# every test program and every comparison passed.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${PITWALL_WINDOWS_BUILD:-$ROOT/build-windows}
LINUX_CLI=${1:-}
export WINEPREFIX="$BUILD/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Arguments and file names pass between Linux and Wine as UTF-8.
export LC_ALL=C.UTF-8
WINE=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
if [ ! -x "$BUILD/bin/pitwall-cli.exe" ] || [ ! -x "$WINE" ]; then
    echo "$0: run scripts/build-windows.sh first (and scripts/setup.sh --windows for Wine)" >&2
    exit 1
fi

WORK=$BUILD/test-run
rm -rf "$WORK"
mkdir -p "$WORK"
status=0
start=$(date +%s)

# A Linux path as Windows programs under Wine see it (drive Z: is /).
windows_path() { printf 'Z:%s' "$1" | tr '/' '\\'; }

# The installer's registry key, as the game's installer leaves it (32-bit view).
GAME="$WORK/Grüße Spiel"
mkdir -p "$GAME"
"$WINE" reg add 'HKLM\Software\Microprose\Grand Prix 3\3.00.000\Install Dir' /v Directory /t REG_SZ \
    /d "$(windows_path "$GAME")" /f /reg:32 >/dev/null 2>&1 || {
    echo "$0: wine reg add failed" >&2
    status=1
}
export PITWALL_TEST_REGISTRY_GAME="$(windows_path "$GAME")"
export XDG_DATA_HOME="$WORK/data-home"

# Each test program runs in as many shards as the machine has cores (Wine
# spends most of its time in file calls, which then overlap).
SHARDS=${PITWALL_JOBS:-$(nproc 2>/dev/null || echo 2)}
for program in pitwall-base-tests pitwall-core-tests pitwall-cli-tests; do
    echo "== $program"
    t0=$(date +%s)
    pids=""
    shard=0
    while [ $shard -lt "$SHARDS" ]; do
        (cd "$WORK" && GTEST_TOTAL_SHARDS=$SHARDS GTEST_SHARD_INDEX=$shard \
            "$WINE" "$BUILD/tests/$program.exe" --gtest_color=no) >"$WORK/$program.$shard.raw" 2>&1 &
        pids="$pids $!"
        shard=$((shard + 1))
    done
    result=passed
    for pid in $pids; do
        wait "$pid" || result=FAILED
    done
    [ "$result" = passed ] || status=1
    # The programs write Windows line ends.
    cat "$WORK/$program".*.raw | tr -d '\r' >"$WORK/$program.log"
    rm -f "$WORK/$program".*.raw
    # A shard that crashed may still end with status 0 under Wine (its
    # debugger reports the fault and returns): each shard must also have
    # printed its summary.
    finished=$(grep -c '^\[==========\] [0-9]* tests\{0,1\} from .* ran\.' "$WORK/$program.log" || true)
    if [ "$finished" -ne "$SHARDS" ]; then
        echo "   $((SHARDS - finished)) of $SHARDS shards ended without their summary (a crash: see the log)"
        result=FAILED
        status=1
    fi
    passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$WORK/$program.log" | awk '{ n += $1 } END { print n + 0 }')
    skipped=$(grep -c '^\[  SKIPPED \] [A-Za-z].*)$' "$WORK/$program.log" || true)
    echo "   $passed passed, $skipped skipped"
    grep -E '^\[  FAILED  \] [A-Za-z].*\)$' "$WORK/$program.log" || true
    echo "   $result in $(($(date +%s) - t0)) s (log: $WORK/$program.log)"
done

# The skipped tests, each with the reason it gave.
echo "== skipped under Windows"
for program in pitwall-base-tests pitwall-core-tests pitwall-cli-tests; do
    awk -v program="$program" '
        /: Skipped$/ { getline reason; next_reason = reason; next }
        /^\[  SKIPPED \] [A-Za-z].* ms\)$/ {
            name = $4
            printf "   %s %s: %s\n", program, name, next_reason
            next_reason = ""
        }' "$WORK/$program.log"
done | sort -u

# pitwall-cli.exe on a folder with a space and umlauts, against the Linux build.
printf "== pitwall-cli.exe under Wine in %s\n" "$(windows_path "$GAME")"
cli() { (cd "$WORK" && "$WINE" "$BUILD/bin/pitwall-cli.exe" "$@"); }
second="$WORK/Zweite Installation"
ok=yes
cli make-demo "$(windows_path "$GAME")" --seed 7 --quiet || ok=no
cli make-demo "$(windows_path "$second")" --seed 8 --quiet || ok=no
cli info --game "$(windows_path "$GAME")" >"$WORK/info-windows.txt" || ok=no
cli import --game "$(windows_path "$GAME")" --items all -o "$(windows_path "$WORK/all.GMS")" --quiet || ok=no
cli apply "$(windows_path "$WORK/all.GMS")" --game "$(windows_path "$second")" --yes --quiet \
    --restore-dir "$(windows_path "$WORK/points")" || ok=no
if [ "$ok" = no ]; then
    echo "   FAILED: a pitwall-cli.exe command failed"
    status=1
fi

if [ -n "$LINUX_CLI" ]; then
    linux="$WORK/linux"
    mkdir -p "$linux"
    "$LINUX_CLI" make-demo "$linux/game" --seed 7 --quiet
    "$LINUX_CLI" make-demo "$linux/second" --seed 8 --quiet
    "$LINUX_CLI" info --game "$linux/game" >"$WORK/info-linux.txt"
    "$LINUX_CLI" import --game "$linux/game" --items all -o "$linux/all.GMS" --quiet
    "$LINUX_CLI" apply "$linux/all.GMS" --game "$linux/second" --yes --quiet --restore-dir "$linux/points"
    compare() {
        if diff -r "$1" "$2" >/dev/null; then
            echo "   identical: $3"
        else
            echo "   DIFFERENT: $3"
            diff -rq "$1" "$2" | head -20
            status=1
        fi
    }
    compare "$GAME" "$linux/game" "the demo installation (seed 7)"
    compare "$second" "$linux/second" "the second installation after apply"
    mkdir -p "$WORK/members-windows" "$WORK/members-linux"
    (cd "$WORK/members-windows" && unzip -q "$WORK/all.GMS")
    (cd "$WORK/members-linux" && unzip -q "$linux/all.GMS")
    compare "$WORK/members-windows" "$WORK/members-linux" "the carset members"
    # info names the folder it was given; the rest must read the same.
    sed 's/\r$//' "$WORK/info-windows.txt" | grep -v -i 'Z:\\' >"$WORK/info-windows.cmp" || true
    grep -v "$linux" "$WORK/info-linux.txt" >"$WORK/info-linux.cmp" || true
    if cmp -s "$WORK/info-windows.cmp" "$WORK/info-linux.cmp"; then
        echo "   identical: the output of info"
    else
        echo "   DIFFERENT: the output of info"
        diff "$WORK/info-windows.cmp" "$WORK/info-linux.cmp" | head -20
        status=1
    fi
fi

echo "== $([ $status -eq 0 ] && echo passed || echo FAILED) in $(($(date +%s) - start)) s"
exit $status
