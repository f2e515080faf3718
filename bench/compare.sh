#!/bin/sh
# Whole user operations of Pitwall timed against the standard tools a modder
# would otherwise use, on a fresh demo installation in a temporary directory.
# Each pair runs RUNS times in alternation (A, B, A, B, ...); one line per
# pair gives both medians, the ratio A/B with its target, and the peak
# resident memory of A. A benchmark, not a test: it exits 0 whatever the
# figures. How to read the lines: BENCHMARKS.md.
#
#   bench/compare.sh [BUILD_DIR]        (default: build, as scripts/run.sh makes it)
#   RUNS=9 bench/compare.sh             (default: 5 runs of each side)
set -eu
cd "$(dirname "$0")/.."
BUILD=${1:-build}
RUNS=${RUNS:-5}

cmake --build "$BUILD" --target pitwall-cli pitwall pitwall-qt-baseline >/dev/null
BIN=$(cd "$BUILD/bin" && pwd)
BASELINE=$(cd "$BUILD/tools" && pwd)/pitwall-qt-baseline
for tool in zip unzip /usr/bin/time strace; do
    command -v "$tool" >/dev/null || { echo "compare.sh: $tool is missing (run scripts/setup.sh --dev)" >&2; exit 0; }
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/pitwall-compare.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
CLI="$BIN/pitwall-cli --quiet --restore-dir $WORK/restore"

# --- helpers -----------------------------------------------------------------

now() { date +%s.%N; }
# timed FILE_PREFIX COMMAND...: appends the wall seconds to PREFIX.t and the
# peak resident kilobytes to PREFIX.m; the command's stderr goes to PREFIX.err.
# What earlier steps wrote (the untimed copies of installations, the last
# run's files) is brought to the disk first, so that the system's write-back
# of it does not fall into a timed run of either side.
timed() {
    prefix=$1
    shift
    sync
    start=$(now)
    /usr/bin/time -f %M -o "$prefix.mem1" "$@" >/dev/null 2>"$prefix.err" || {
        echo "compare.sh: failed: $*" >&2
        cat "$prefix.err" >&2
    }
    end=$(now)
    echo "$start $end" | awk '{ printf "%.4f\n", $2 - $1 }' >>"$prefix.t"
    tail -n 1 "$prefix.mem1" >>"$prefix.m"
}
# phase PREFIX NAME: the seconds a --timings line of the last run reported.
phase() { awk -v p="$2" '$1 == "timing" && $2 == p { print $3 }' "$1.err" >>"$1.$2.t"; }
median() { sort -n "$1" | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.4f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
peak_mb() { sort -n "$1" | tail -n 1 | awk '{ printf "%.1f", $1 / 1024 }'; }
# line LABEL A_FILE B_FILE TARGET MEMFILE
line() {
    a=$(median "$2")
    b=$(median "$3")
    awk -v l="$1" -v a="$a" -v b="$b" -v t="$4" -v m="$(peak_mb "$5")" 'BEGIN {
        r = (b > 0) ? a / b : 0
        printf "%-44s A %8.3f s   B %8.3f s   A/B %5.2f (target <= %s: %s)   peak A %7.1f MB\n",
               l, a, b, r, t, (r <= t) ? "met" : "NOT met", m }'
}

# --- the installations ---------------------------------------------------------

echo "Pitwall $(git rev-parse --short HEAD 2>/dev/null || echo '?') on $(nproc) cores, $RUNS runs per side, build $BUILD"
$CLI make-demo "$WORK/source" --seed 1 >/dev/null
$CLI make-demo "$WORK/target" --seed 2 >/dev/null

# Which files an import reads and an export writes, found once with strace.
strace -f -qq -e trace=openat -o "$WORK/import.trace" $CLI import --game "$WORK/source" --items all -o "$WORK/probe.GMS"
# strace writes bytes outside ASCII (Windows-1252 names) as octal escapes.
grep -v 'O_WRONLY\|O_RDWR\|ENOENT\|O_DIRECTORY' "$WORK/import.trace" \
    | perl -ne 'if (/"((?:[^"\\]|\\.)*)"/) { my $p = $1; $p =~ s/\\([0-7]{3})/chr(oct($1))/ge; print "$p\n" }' \
    | grep "^$WORK/source/" | sort -u >"$WORK/import.files"
mkdir -p "$WORK/members"
(cd "$WORK/members" && unzip -q "$WORK/probe.GMS")
cp -r "$WORK/target" "$WORK/applied"
touch "$WORK/marker"
sleep 1
$CLI apply "$WORK/probe.GMS" --game "$WORK/applied" --yes --expand-art || true
find "$WORK/applied" -type f -newer "$WORK/marker" | sort >"$WORK/export.files"
cp -r "$WORK/target" "$WORK/expanded"
$CLI art expand --entries all --game "$WORK/expanded" >/dev/null
BANK=$(find "$WORK/expanded" -iname GP3ART5.BIN | head -n 1)

# --- the runs ----------------------------------------------------------------

T="$WORK/t"
mkdir -p "$T"
i=0
while [ "$i" -lt "$RUNS" ]; do
    i=$((i + 1))
    # P1 and P3 (import): one import run, its phases timed by the program.
    rm -f "$WORK/out.GMS"
    timed "$T/import" $CLI import --game "$WORK/source" --items all -o "$WORK/out.GMS" --timings
    phase "$T/import" import
    phase "$T/import" save
    rm -f "$WORK/zip.zip"
    timed "$T/zip" zip -q -9 -j "$WORK/zip.zip" "$WORK"/members/*
    rm -rf "$WORK/cpimport" && mkdir -p "$WORK/cpimport"
    timed "$T/cpimport" sh -c 'cd / && xargs cp --parents -t "$1" <"$2"' - "$WORK/cpimport" "$WORK/import.files"

    # P2 and P3 (export): load and apply the carset to a fresh copy of
    # another installation (the copy is not timed).
    rm -rf "$WORK/game" "$WORK/restore"
    cp -r "$WORK/target" "$WORK/game"
    timed "$T/apply" $CLI apply "$WORK/probe.GMS" --game "$WORK/game" --yes --expand-art --timings
    phase "$T/apply" export
    rm -rf "$WORK/unzipped" "$WORK/cpexport" && mkdir -p "$WORK/unzipped" "$WORK/cpexport"
    timed "$T/unzipcp" sh -c 'unzip -q -o "$1" -d "$2" && cd / && xargs cp --parents -t "$3" <"$4"' - \
        "$WORK/probe.GMS" "$WORK/unzipped" "$WORK/cpexport" "$WORK/export.files"
    # The same made durable: the copied files synced to the disk.
    rm -rf "$WORK/unzipped" "$WORK/cpexport" && mkdir -p "$WORK/unzipped" "$WORK/cpexport"
    timed "$T/unzipcpsync" sh -c 'unzip -q -o "$1" -d "$2" && cd / && xargs cp --parents -t "$3" <"$4" \
        && find "$3" -type f -exec sync -f {} +' - "$WORK/probe.GMS" "$WORK/unzipped" "$WORK/cpexport" "$WORK/export.files"
    rm -rf "$WORK/cpexport" && mkdir -p "$WORK/cpexport"
    timed "$T/cpexport" sh -c 'cd / && xargs cp --parents -t "$1" <"$2"' - "$WORK/cpexport" "$WORK/export.files"
    # The durable copy: the same, then the copied files synced to the disk.
    rm -rf "$WORK/cpexport" && mkdir -p "$WORK/cpexport"
    timed "$T/cpexportsync" sh -c 'cd / && xargs cp --parents -t "$1" <"$2" && find "$1" -type f -exec sync -f {} +' - \
        "$WORK/cpexport" "$WORK/export.files"

    # P4: the art bank's every entry expanded, against copying the result.
    rm -rf "$WORK/art" && cp -r "$WORK/target" "$WORK/art"
    timed "$T/expand" $CLI art expand --entries all --game "$WORK/art"
    rm -f "$WORK/bank.copy"
    timed "$T/cpbank" cp "$BANK" "$WORK/bank.copy"
    rm -f "$WORK/bank.copy"
    timed "$T/cpbanksync" sh -c 'cp "$1" "$2" && sync -f "$2"' - "$BANK" "$WORK/bank.copy"

    # P5: start to the first painted editor, against a minimal Qt program.
    rm -rf "$WORK/program" && mkdir -p "$WORK/program"
    find "$BIN" -maxdepth 1 -type f ! -name PITWALL.INI -exec cp {} "$WORK/program/" \;
    printf '[General]\r\nGP3Path=%s/\r\nFirstTime=0\r\n' "$WORK/source" >"$WORK/program/PITWALL.INI"
    timed "$T/start" env QT_QPA_PLATFORM=offscreen "$WORK/program/pitwall" --exit-after-first-paint
    timed "$T/qt" env QT_QPA_PLATFORM=offscreen "$BASELINE"
done

# --- the lines -----------------------------------------------------------------

line "P1 carset save (import --items all, save part)" "$T/import.save.t" "$T/zip.t" 0.35 "$T/import.m"
line "P2 carset load and apply" "$T/apply.t" "$T/unzipcp.t" 1.2 "$T/apply.m"
line "  the same, unzip + cp + sync -f (durable)" "$T/apply.t" "$T/unzipcpsync.t" 1.2 "$T/apply.m"
line "P3 import of everything" "$T/import.import.t" "$T/cpimport.t" 2 "$T/import.m"
line "P3 export of everything" "$T/apply.export.t" "$T/cpexport.t" 4 "$T/apply.m"
line "  the same against cp + sync -f (durable)" "$T/apply.export.t" "$T/cpexportsync.t" 4 "$T/apply.m"
line "P4 art-bank expansion of all entries" "$T/expand.t" "$T/cpbank.t" 3 "$T/expand.m"
line "  the same against cp + sync -f (durable)" "$T/expand.t" "$T/cpbanksync.t" 3 "$T/expand.m"
line "P5 start to the first editor painted" "$T/start.t" "$T/qt.t" 1.5 "$T/start.m"

# Peak memory of the complete carset load (and apply) against what it holds.
held=$(unzip -l "$WORK/probe.GMS" | tail -n 1 | awk '{ print $1 }')
largest=$( (unzip -Z -l "$WORK/probe.GMS" | awk '$1 ~ /^-/ { print $4 }'; xargs stat -c %s <"$WORK/export.files") \
    | sort -n | tail -n 1)
peak=$(sort -n "$T/apply.m" | tail -n 1)
awk -v h="$held" -v l="$largest" -v p="$peak" 'BEGIN {
    limit = 1.5 * l / 1048576 + 100
    printf "%-44s peak %7.1f MB for %7.1f MB held (largest file %5.1f MB; target <= %.1f MB: %s)\n",
           "P6 memory of a complete carset load", p / 1024, h / 1048576, l / 1048576, limit,
           (p / 1024 <= limit) ? "met" : "NOT met" }'
exit 0
