#!/bin/sh
# Builds the fuzz targets with clang into build-fuzz/ (or $PITWALL_FUZZ_BUILD)
# and runs each for SECONDS seconds (default 60) under AddressSanitizer and
# UndefinedBehaviorSanitizer, starting from the seed corpus kept in
# fuzz/corpus/<target>/ (read only; what the fuzzer adds goes to the build
# directory). Exits non-zero when a target finds a crash, a leak, undefined
# behaviour, an allocation beyond the limit or a broken round trip. Without
# clang it says so and does nothing. Further arguments name the targets to
# run (default: all).
set -eu
cd "$(dirname "$0")/.."
SECONDS_EACH="${1:-60}"
[ $# -gt 0 ] && shift
BUILD="${PITWALL_FUZZ_BUILD:-build-fuzz}"

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz: clang++ not found, skipping the fuzz targets"
    exit 0
fi

LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then
    LAUNCHER="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
    export CCACHE_BASEDIR="$(pwd)" CCACHE_NOHASHDIR=1
fi
CXX=clang++ cmake -S fuzz -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $LAUNCHER >/dev/null
cmake --build "$BUILD" -j 2 >"$BUILD/build.log" 2>&1 || { tail -n 40 "$BUILD/build.log"; exit 1; }

if [ $# -gt 0 ]; then
    targets="$*"
else
    targets="$(cd "$BUILD" && ls -d fuzz_* | while read -r t; do if [ -x "$t" ] && [ -f "$t" ]; then echo "$t"; fi; done)"
fi
status=0
for name in $targets; do
    target="$BUILD/$name"
    corpus="$BUILD/corpus/$name"
    mkdir -p "$corpus" "$BUILD/findings/$name"
    seeds=""
    [ -d "fuzz/corpus/$name" ] && seeds="fuzz/corpus/$name"
    echo "fuzz: $name for ${SECONDS_EACH}s"
    if ! ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$target" -max_total_time="$SECONDS_EACH" -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$BUILD/findings/$name/" "$corpus" $seeds >"$BUILD/$name.log" 2>&1; then
        echo "fuzz: $name FOUND A PROBLEM (see $BUILD/$name.log and $BUILD/findings/$name/)"
        tail -n 30 "$BUILD/$name.log"
        status=1
    else
        grep -E '^stat::number_of_executed_units' "$BUILD/$name.log" | sed "s/^/fuzz: $name: /" || true
    fi
done
exit $status
