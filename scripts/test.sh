#!/bin/sh
# Installs what is missing, builds everything and runs every test: the normal
# build (core, CLI and offscreen GUI suites) and an installation of it, then
# the Debian package, then every suite again (the offscreen GUI ones too) under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz targets briefly, then the suites of
# the Windows build of the core and CLI under Wine (that build runs beside the
# others from the start).
set -eu
cd "$(dirname "$0")/.."
started=$(date +%s)
# Each stage's start, with the minutes since the run began.
stage() {
    elapsed=$(($(date +%s) - started))
    printf '== %s (at %d:%02d)\n' "$1" $((elapsed / 60)) $((elapsed % 60))
}

stage "Installing what is missing"
./scripts/setup.sh --dev

JOBS="$(nproc 2>/dev/null || echo 2)"
# The Windows build (its libraries from source on a first run, then the cross
# build) runs from the start at low priority beside the Linux stages, filling
# the time they wait on downloads, the disk and the tests; its suites run at
# the end.
mkdir -p build
echo "Windows build started in the background (log: build/windows-build.log)"
# In a session of its own, so it can be stopped as a whole; Linux then
# schedules the session as one group, whose priority is set apart from nice.
setsid sh -c 'echo 10 >/proc/self/autogroup 2>/dev/null; exec nice -n 10 "$@"' windows-build \
    env PITWALL_JOBS="$JOBS" scripts/build-windows.sh >build/windows-build.log 2>&1 &
windows_build=$!
stop_windows_build() { kill -TERM -- "-$windows_build" 2>/dev/null || true; }
trap stop_windows_build EXIT
trap 'stop_windows_build; exit 130' INT TERM
# Compiler cache: a second run (or a run after a local build of the same
# sources) compiles only what changed.
LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then
    LAUNCHER="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
    export CCACHE_BASEDIR="$(pwd)" CCACHE_NOHASHDIR=1
fi

stage "Normal build"
# Line tables only (PITWALL_DEBUG_LEVEL=1): enough for backtraces and sanitizer
# reports, and a quarter less compile time. scripts/package.sh builds with the
# same flags, so the compiler cache serves it.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPITWALL_DEBUG_LEVEL=1 -DPITWALL_WERROR=ON \
    -DPITWALL_BUILD_TESTS=ON -DPITWALL_BUILD_BENCHMARKS=ON $LAUNCHER >/dev/null
cmake --build build -j "$JOBS"
stage "Normal suites"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$JOBS"
# The installed layout: cmake --install into a scratch prefix, run from elsewhere.
stage "Installed layout"
tests/install/InstallTest.sh build
# The Debian package, built from the committed tree, checked and installed.
stage "Debian package"
scripts/package.sh
tests/install/PackageTest.sh

stage "Sanitizer build"
# Optimised a little (-O1, as the sanitizers advise): the suite runs several
# times faster than unoptimised, with the same reports.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DPITWALL_SANITIZE=ON -DPITWALL_WERROR=ON \
    -DPITWALL_BUILD_GUI=ON -DPITWALL_BUILD_TESTS=ON -DPITWALL_BUILD_BENCHMARKS=OFF $LAUNCHER >/dev/null
cmake --build build-asan -j "$JOBS"
stage "Sanitizer suites"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 QT_QPA_PLATFORM=offscreen \
    ctest --test-dir build-asan --output-on-failure -j "$JOBS"

if [ -x fuzz/run-all.sh ]; then
    stage "Fuzz targets"
    fuzz/run-all.sh 5
fi

# The core and the command line for Windows: cross-built with MinGW-w64, their
# tests run under Wine, and pitwall-cli.exe compared byte for byte with the
# Linux build on the same demo installations.
stage "Waiting for the Windows build"
if ! wait "$windows_build"; then
    tail -n 40 build/windows-build.log
    echo "The Windows build failed (log: build/windows-build.log)" >&2
    exit 1
fi
trap - EXIT INT TERM
tail -n 3 build/windows-build.log
stage "Windows suites under Wine"
scripts/test-windows.sh build/bin/pitwall-cli
stage "All tests passed."
