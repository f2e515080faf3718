#!/bin/sh
# Installs the Debian packages Pitwall needs.
#   scripts/setup.sh         what building and running the programs needs
#   scripts/setup.sh --dev   also what the tests, the sanitizer and fuzzing
#                            builds, the benchmarks, the screenshots, the
#                            Debian package and the Windows build and its
#                            tests under Wine (below) need
#   scripts/setup.sh --windows   only what scripts/build-windows.sh and
#                            scripts/test-windows.sh need: the MinGW-w64
#                            cross compilers, zlib for MinGW, Wine, and
#                            dpkg-dev for the source packages of the other
#                            libraries
# Idempotent: packages already present are skipped and nothing is printed for them.
set -eu

BUILD_PACKAGES="
build-essential cmake ninja-build pkg-config ccache
qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-svg-dev libqt6svg6 qt6-translations-l10n
libzip-dev libdeflate-dev zlib1g-dev nettle-dev libjpeg62-turbo-dev libpng-dev
libsndfile1-dev libsamplerate0-dev libstb-dev
libcli11-dev nlohmann-json3-dev
"

DEV_PACKAGES="
libgtest-dev libgmock-dev libbenchmark-dev
clang libclang-rt-14-dev
zip unzip time strace
man-db groff-base zsh fish
xvfb xauth x11-apps imagemagick
dpkg-dev lintian appstream desktop-file-utils
"

WINDOWS_PACKAGES="
g++-mingw-w64-x86-64-posix libz-mingw-w64-dev mingw-w64-tools wine64
dpkg-dev zip libcli11-dev nlohmann-json3-dev libstb-dev libgtest-dev
"

case "${1:-}" in
    "") PACKAGES="$BUILD_PACKAGES" ;;
    --dev) PACKAGES="$BUILD_PACKAGES $DEV_PACKAGES $WINDOWS_PACKAGES" ;;
    --windows) PACKAGES="$WINDOWS_PACKAGES" ;;
    *)
        echo "usage: $0 [--dev | --windows]" >&2
        exit 2
        ;;
esac

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    # shellcheck disable=SC2086
    $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
