#!/bin/sh
# Builds the Debian package pitwall_<version>_<arch>.deb from the committed
# tree (git archive of HEAD, so local edits and build folders stay out) into
# dist/. Usage: scripts/package.sh [OUTPUT-DIRECTORY]
set -eu
cd "$(dirname "$0")/.."
root="$(pwd)"
out="${1:-$root/dist}"

./scripts/setup.sh --dev

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT INT TERM
src="$scratch/src"
mkdir "$src"
if git -C "$root" rev-parse --verify -q HEAD >/dev/null 2>&1; then
    git -C "$root" archive --format=tar HEAD | tar -x -C "$src"
    if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
        echo "package.sh: uncommitted changes are not in the package (it is built from HEAD)" >&2
    fi
else
    # Not a git checkout (an unpacked source archive): the tree as it is,
    # without build folders.
    tar -C "$root" --exclude='./build*' --exclude='./dist' -cf - . | tar -x -C "$src"
fi

LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then
    LAUNCHER="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
    export CCACHE_BASEDIR="$src" CCACHE_NOHASHDIR=1
fi
# Optimised with line tables like the test build (so the compiler cache serves
# both); CPack strips the programs.
cmake -S "$src" -B "$src/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPITWALL_DEBUG_LEVEL=1 -DCMAKE_INSTALL_PREFIX=/usr \
    -DPITWALL_WERROR=ON -DPITWALL_BUILD_TESTS=OFF -DPITWALL_BUILD_BENCHMARKS=OFF $LAUNCHER >/dev/null
cmake --build "$src/build" -j "$(nproc 2>/dev/null || echo 2)"
(cd "$src/build" && cpack -G DEB >/dev/null)

mkdir -p "$out"
for deb in "$src"/build/pitwall_*.deb; do
    [ -f "$deb" ] || { echo "package.sh: cpack made no package" >&2; exit 1; }
    cp "$deb" "$out/"
    echo "$out/$(basename "$deb")"
done
