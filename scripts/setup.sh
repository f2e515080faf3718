#!/bin/sh
# Installs every Debian package Pitwall needs to build, run and test.
# Idempotent: packages already present are skipped and nothing is printed for them.
set -eu

PACKAGES="
build-essential cmake ninja-build pkg-config ccache
qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6svg6 qt6-translations-l10n
libzip-dev zlib1g-dev zip unzip nettle-dev time strace
libjpeg62-turbo-dev libpng-dev libsndfile1-dev libsamplerate0-dev sox
libgtest-dev libgmock-dev libbenchmark-dev
libcli11-dev nlohmann-json3-dev
man-db groff-base zsh fish
clang libclang-rt-14-dev
xvfb xauth x11-apps imagemagick
"

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
