#!/bin/sh
# Installs what is missing, builds Pitwall and starts the editor. When no game
# directory is configured yet, a demo installation made by our generator is
# created and configured first.
set -eu
cd "$(dirname "$0")/.."

./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPITWALL_BUILD_TESTS=OFF -DPITWALL_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build

INI=build/bin/PITWALL.INI
if ! grep -qi '^ *GP3Path *= *[^ ]' "$INI" 2>/dev/null; then
    DEMO="$(pwd)/build/demo-gp3"
    [ -f "$DEMO/GP3.EXE" ] || build/bin/pitwall-cli make-demo "$DEMO"
    # The demo's data imported at the start, so the editors show something.
    printf '[General]\r\nGP3Path=%s/\r\nAlwaysImport=1\r\nFirstTime=0\r\n' "$DEMO" > "$INI"
fi
exec build/bin/pitwall "$@"
