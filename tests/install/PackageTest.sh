#!/bin/sh
# Checks the Debian package scripts/package.sh made: its contents, lintian,
# the AppStream and desktop-entry validators, and an installation with apt-get
# after which the installed programs run. Removes the package again when it
# was not installed before.
# Usage: tests/install/PackageTest.sh [PACKAGE-DIRECTORY]   (default dist/)
set -eu
cd "$(dirname "$0")/../.."
version="$(sed -n 's/^project(Pitwall VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
deb="$(cd "${1:-dist}" && pwd)/pitwall_${version}_$(dpkg --print-architecture).deb"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT INT TERM

fail() {
    echo "package test: $*" >&2
    exit 1
}

[ -f "$deb" ] || fail "$deb is missing (run scripts/package.sh)"

# The files the package must carry.
dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' >"$scratch/contents"
expect() {
    grep -qxF "./usr/$1" "$scratch/contents" || fail "the package does not hold /usr/$1"
}
expect bin/pitwall
expect bin/pitwall-cli
expect "lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null)/pitwall/pitwall-sound.so"
for f in ENGLISH.LNG DEUTSCH.LNG "GP3 Palette.pal" Font.BMP Standard.DAT README.md LICENSE \
    manual/windows.tsv manual/en/index.html manual/de/index.html screenshots/main-window.png; do
    expect "share/pitwall/$f"
done
expect share/applications/pitwall.desktop
expect share/mime/packages/pitwall-carset.xml
expect share/metainfo/io.github.pitwall_editor.pitwall.metainfo.xml
expect share/icons/hicolor/scalable/apps/pitwall.svg
expect share/icons/hicolor/scalable/mimetypes/application-x-pitwall-carset.svg
for size in 16 22 24 32 48 64 128 256; do
    expect "share/icons/hicolor/${size}x${size}/apps/pitwall.png"
    expect "share/icons/hicolor/${size}x${size}/mimetypes/application-x-pitwall-carset.png"
done
expect share/man/man1/pitwall-cli.1.gz
expect share/man/man1/pitwall.1.gz
expect share/bash-completion/completions/pitwall-cli
expect share/zsh/vendor-completions/_pitwall-cli
expect share/fish/vendor_completions.d/pitwall-cli.fish
expect share/doc/pitwall/copyright
expect share/doc/pitwall/changelog.gz

# The dependencies are computed from the programs' libraries.
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends does not name Qt: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -f "$deb" Depends | grep -q 'libzip4' || fail "Depends does not name libzip: $(dpkg-deb -f "$deb" Depends)"

# lintian: no errors (warnings and informational tags are listed, not fatal).
lintian --allow-root --no-tag-display-limit "$deb" >"$scratch/lintian" 2>&1 || true
if grep -q '^E:' "$scratch/lintian"; then
    cat "$scratch/lintian" >&2
    fail "lintian reports errors"
fi

# The validators accept the metainfo and the desktop entry without any remark.
dpkg-deb -x "$deb" "$scratch/root"
appstreamcli validate --no-net --pedantic \
    "$scratch/root/usr/share/metainfo/io.github.pitwall_editor.pitwall.metainfo.xml" >"$scratch/appstream" 2>&1 || {
    cat "$scratch/appstream" >&2
    fail "appstreamcli validate failed"
}
if grep -q '^[EWIP]:' "$scratch/appstream"; then
    cat "$scratch/appstream" >&2
    fail "appstreamcli validate has remarks"
fi
desktop-file-validate "$scratch/root/usr/share/applications/pitwall.desktop" >"$scratch/desktop" 2>&1 || true
if [ -s "$scratch/desktop" ]; then
    cat "$scratch/desktop" >&2
    fail "desktop-file-validate has remarks"
fi

# Installed with apt-get, the programs run from the system's paths.
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
installed_before=no
if dpkg-query -W -f='${Status}' pitwall 2>/dev/null | grep -q "install ok installed"; then
    installed_before=yes
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get install -y -qq --no-install-recommends "$deb" >"$scratch/apt" 2>&1 || {
    cat "$scratch/apt" >&2
    fail "apt-get install of the package failed"
}
cleanup_package() {
    if [ "$installed_before" = no ]; then
        $SUDO apt-get purge -y -qq pitwall >/dev/null 2>&1 || true
    fi
}
mkdir "$scratch/home"
(
    cd "$scratch/home"
    export HOME="$scratch/home"
    unset XDG_CONFIG_HOME XDG_CACHE_HOME PITWALL_GAME
    /usr/bin/pitwall-cli --version | grep -q "$version" || exit 11
    /usr/bin/pitwall-cli make-demo demo --quiet || exit 12
    mkdir -p .config/pitwall
    printf '[General]\r\nGP3Path=%s/\r\nFirstTime=0\r\n' "$scratch/home/demo" >.config/pitwall/PITWALL.INI
    QT_QPA_PLATFORM=offscreen timeout 120 /usr/bin/pitwall --exit-after-first-paint >"$scratch/gui" 2>&1 || exit 13
) || {
    status=$?
    cleanup_package
    [ -f "$scratch/gui" ] && cat "$scratch/gui" >&2
    fail "the installed programs did not run (step $status)"
}
cleanup_package
echo "package test passed"
