#!/bin/sh
# Cross-builds Pitwall's command line for 64-bit Windows with MinGW-w64:
# pitwall-cli.exe, the core and command-line test programs, and the package
# pitwall-cli-<version>-windows-x64.zip.
#
#   scripts/build-windows.sh          libraries (first run only), build, zip
#   scripts/build-windows.sh --deps   only the libraries
#
# Needs scripts/setup.sh --windows (the MinGW-w64 compilers, zlib for MinGW,
# Wine, dpkg-dev). The libraries Debian does not package for MinGW are built
# from Debian's own source packages (apt-get source; a deb-src entry for the
# archive the machine uses is added if there is none) and from the GoogleTest
# sources Debian ships, into a cache folder reused by later runs:
#   ${PITWALL_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pitwall-windows-deps}
# The build goes to build-windows/ (PITWALL_WINDOWS_BUILD), the Wine prefix the
# build and the tests use to build-windows/wine.
# PITWALL_JOBS sets the parallel jobs (default 1).
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
CACHE=${PITWALL_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pitwall-windows-deps}
PREFIX=$CACHE/prefix
SOURCES=$CACHE/sources
BUILD=${PITWALL_WINDOWS_BUILD:-$ROOT/build-windows}
JOBS=${PITWALL_JOBS:-1}
TRIPLE=x86_64-w64-mingw32
TOOLCHAIN=$ROOT/cmake/toolchains/mingw-w64-x86_64.cmake
# The Debian source packages, in build order.
DEBIAN_SOURCES="libpng1.6 libjpeg-turbo libzip libdeflate libsndfile libsamplerate nettle"

ONLY_DEPS=no
case "${1:-}" in
    "") ;;
    --deps) ONLY_DEPS=yes ;;
    *)
        echo "usage: $0 [--deps]" >&2
        exit 2
        ;;
esac

for tool in $TRIPLE-g++-posix $TRIPLE-gcc-posix dpkg-source cmake ninja; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$0: $tool is missing; run scripts/setup.sh --windows first" >&2
        exit 1
    fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# A deb-src entry for each deb entry of the Debian archive, so apt-get source
# takes the same versions the machine has installed.
ensure_deb_src() {
    if apt-get source --print-uris -qq libzip >/dev/null 2>&1 &&
        [ -n "$(apt-get source --print-uris -qq libzip 2>/dev/null)" ]; then
        return
    fi
    echo "Adding a deb-src entry for the Debian archive"
    entries=""
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        entries=$(sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources)
        target=/etc/apt/sources.list.d/pitwall-deb-src.sources
    elif [ -f /etc/apt/sources.list ]; then
        entries=$(grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /')
        target=/etc/apt/sources.list.d/pitwall-deb-src.list
    fi
    if [ -z "$entries" ]; then
        echo "$0: no Debian archive entry found to mirror as deb-src" >&2
        exit 1
    fi
    printf '%s\n' "$entries" | $SUDO tee "$target" >/dev/null
    $SUDO apt-get update -qq
}

# cmake_dep <source folder> <cmake options...>: configures, builds and installs
# one library into the prefix, static only.
cmake_dep() {
    src=$1
    shift
    rm -rf "$src/pitwall-build"
    cmake -S "$src" -B "$src/pitwall-build" -G Ninja -Wno-dev \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DPITWALL_WINDOWS_DEPS="$PREFIX" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
        -DBUILD_SHARED_LIBS=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=OFF "$@" >"$src/pitwall-build.log" 2>&1 ||
        { tail -30 "$src/pitwall-build.log" >&2; return 1; }
    nice -n 10 cmake --build "$src/pitwall-build" -j "$JOBS" >>"$src/pitwall-build.log" 2>&1 ||
        { tail -30 "$src/pitwall-build.log" >&2; return 1; }
    cmake --install "$src/pitwall-build" >>"$src/pitwall-build.log" 2>&1 ||
        { tail -30 "$src/pitwall-build.log" >&2; return 1; }
}

build_dep() {
    package=$1
    src=$2
    case "$package" in
        libpng1.6)
            cmake_dep "$src" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
                -DZLIB_USE_STATIC_LIBS=ON
            ;;
        libjpeg-turbo)
            cmake_dep "$src" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
                -DWITH_JAVA=OFF
            ;;
        libzip)
            cmake_dep "$src" -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_COMMONCRYPTO=OFF \
                -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF -DENABLE_WINDOWS_CRYPTO=OFF \
                -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF \
                -DZLIB_USE_STATIC_LIBS=ON
            # The static library is used without the DLL import declarations.
            sed -i 's/^Cflags: \(.*\)$/Cflags: \1 -DZIP_STATIC/' "$PREFIX/lib/pkgconfig/libzip.pc"
            ;;
        libsndfile)
            cmake_dep "$src" -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF -DBUILD_PROGRAMS=OFF \
                -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DBUILD_REGTEST=OFF -DENABLE_CPACK=OFF \
                -DINSTALL_MANPAGES=OFF -DENABLE_PACKAGE_CONFIG=ON
            ;;
        libsamplerate)
            cmake_dep "$src" -DBUILD_TESTING=OFF -DLIBSAMPLERATE_EXAMPLES=OFF -DLIBSAMPLERATE_INSTALL=ON
            ;;
        libdeflate)
            # Its own makefile knows MinGW; only the static library is made.
            (
                cd "$src"
                nice -n 10 make -j "$JOBS" CC=$TRIPLE-gcc-posix AR=$TRIPLE-ar libdeflatestatic.lib \
                    >pitwall-build.log 2>&1
            ) || { tail -30 "$src/pitwall-build.log" >&2; return 1; }
            mkdir -p "$PREFIX/include" "$PREFIX/lib/pkgconfig"
            cp "$src/libdeflate.h" "$PREFIX/include/"
            cp "$src/libdeflatestatic.lib" "$PREFIX/lib/libdeflate.a"
            version=$(sed -n 's/^#define LIBDEFLATE_VERSION_STRING[^"]*"\([^"]*\)".*/\1/p' "$src/libdeflate.h")
            cat >"$PREFIX/lib/pkgconfig/libdeflate.pc" <<DEFLATEPC
prefix=$PREFIX
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: libdeflate
Description: Fast implementation of DEFLATE, zlib, and gzip
Version: $version
Libs: -L\${libdir} -ldeflate
Cflags: -I\${includedir}
DEFLATEPC
            ;;
        nettle)
            # SHA-256 and the other hashes only; the public-key half needs GMP.
            (
                cd "$src"
                # The unpacked sources may make the generated files look older
                # than what they are made from; nothing is to be regenerated.
                touch configure.ac aclocal.m4
                sleep 1
                touch configure config.h.in stamp-h.in
                ./configure --host=$TRIPLE --prefix="$PREFIX" --disable-shared --enable-static \
                    --disable-public-key --disable-documentation --disable-assembler \
                    CC=$TRIPLE-gcc-posix >pitwall-build.log 2>&1 &&
                    nice -n 10 make -j "$JOBS" libnettle.a nettle.pc >>pitwall-build.log 2>&1 &&
                    make install-headers install-static install-pkgconfig >>pitwall-build.log 2>&1
            ) || { tail -30 "$src/pitwall-build.log" >&2; return 1; }
            ;;
    esac
}

# fetch_source <package> <folder>: Debian's source package into the folder.
# The archive's index can name a version its pool no longer holds (a
# security update replaced by the next one); the other versions the index
# lists are tried then, newest first.
fetch_source() {
    (cd "$2" && apt-get source -qq "$1" >apt-get-source.log 2>&1) && return 0
    for version in $(apt-cache showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -ruV); do
        find "$2" -mindepth 1 -maxdepth 1 ! -name apt-get-source.log -exec rm -rf {} +
        echo "Trying $1 $version" >>"$2/apt-get-source.log"
        (cd "$2" && apt-get source -qq "$1=$version" >>apt-get-source.log 2>&1) && return 0
    done
    return 1
}

build_deps() {
    mkdir -p "$PREFIX" "$SOURCES"
    need_sources=no
    for package in $DEBIAN_SOURCES; do
        [ -f "$PREFIX/.built-$package" ] || need_sources=yes
    done
    if [ "$need_sources" = yes ]; then ensure_deb_src; fi

    for package in $DEBIAN_SOURCES; do
        if [ -f "$PREFIX/.built-$package" ]; then continue; fi
        echo "Building $package for Windows"
        work=$SOURCES/$package
        rm -rf "$work"
        mkdir -p "$work"
        fetch_source "$package" "$work" || { cat "$work/apt-get-source.log" >&2; exit 1; }
        src=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n 1)
        build_dep "$package" "$src"
        basename "$src" >"$PREFIX/.built-$package"
    done

    if [ ! -f "$PREFIX/.built-googletest" ]; then
        echo "Building GoogleTest for Windows"
        rm -rf "$SOURCES/googletest"
        cp -r /usr/src/googletest "$SOURCES/googletest"
        cmake_dep "$SOURCES/googletest" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
        touch "$PREFIX/.built-googletest"
    fi

    # zlib: Debian's MinGW build, but seen only as its static library (its
    # folder also holds the DLL's import library, which the linker would take).
    if [ ! -f "$PREFIX/.built-zlib" ]; then
        mkdir -p "$PREFIX/include" "$PREFIX/lib/pkgconfig"
        cp /usr/$TRIPLE/include/zlib.h /usr/$TRIPLE/include/zconf.h "$PREFIX/include/"
        cp /usr/$TRIPLE/lib/libz.a "$PREFIX/lib/"
        version=$(sed -n 's/^Version: //p' /usr/$TRIPLE/lib/pkgconfig/zlib.pc)
        cat >"$PREFIX/lib/pkgconfig/zlib.pc" <<ZLIBPC
prefix=$PREFIX
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: zlib
Description: zlib compression library
Version: $version
Libs: -L\${libdir} -lz
Cflags: -I\${includedir}
ZLIBPC
        touch "$PREFIX/.built-zlib"
    fi

    # stb: the headers, and the implementations the core calls compiled once.
    if [ ! -f "$PREFIX/.built-stb" ]; then
        echo "Building stb for Windows"
        mkdir -p "$PREFIX/include/stb" "$PREFIX/lib/pkgconfig" "$SOURCES/stb"
        cp /usr/include/stb/*.h "$PREFIX/include/stb/"
        cat >"$SOURCES/stb/stb.c" <<'STB'
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>
STB
        $TRIPLE-gcc-posix -O2 -I"$PREFIX/include/stb" -c "$SOURCES/stb/stb.c" -o "$SOURCES/stb/stb.o"
        $TRIPLE-ar rcs "$PREFIX/lib/libstb.a" "$SOURCES/stb/stb.o"
        cat >"$PREFIX/lib/pkgconfig/stb.pc" <<STBPC
prefix=$PREFIX
libdir=\${prefix}/lib
includedir=\${prefix}/include/stb

Name: stb
Description: single-file image and audio processing libraries for C/C++
Version: 0.0
Libs: -L\${libdir} -lstb
Cflags: -I\${includedir}
STBPC
        touch "$PREFIX/.built-stb"
    fi

    # Header-only libraries: Debian's headers and CMake package files, placed
    # in the prefix so the build never looks into the host's /usr/include.
    if [ ! -f "$PREFIX/.built-headers" ]; then
        mkdir -p "$PREFIX/include" "$PREFIX/share/cmake"
        cp -r /usr/include/CLI /usr/include/nlohmann "$PREFIX/include/"
        cp -r /usr/share/cmake/CLI11 /usr/share/cmake/nlohmann_json "$PREFIX/share/cmake/"
        touch "$PREFIX/.built-headers"
    fi
}

start=$(date +%s)
build_deps
echo "Windows libraries ready in $PREFIX ($(($(date +%s) - start)) s)"
[ "$ONLY_DEPS" = yes ] && exit 0

# Programs the build runs itself (the language-file builder, pitwall-cli for
# Standard.DAT) run under Wine, in a prefix of the build's own.
export WINEPREFIX="$BUILD/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
if [ ! -x "$WINE" ]; then
    echo "$0: Wine is missing; run scripts/setup.sh --windows first" >&2
    exit 1
fi
mkdir -p "$BUILD"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix $WINEPREFIX"
    "$WINE" wineboot --init >/dev/null 2>&1 || true
    "$WINE" cmd /c exit >/dev/null 2>&1 || true
fi

start=$(date +%s)
export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1
launcher=""
if command -v ccache >/dev/null 2>&1; then launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"; fi
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DPITWALL_WINDOWS_DEPS="$PREFIX" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPITWALL_DEBUG_LEVEL=0 -DPITWALL_WERROR=ON -DPITWALL_BUILD_GUI=OFF -DPITWALL_BUILD_TESTS=ON \
    -DPITWALL_BUILD_BENCHMARKS=OFF $launcher >"$BUILD/configure.log" 2>&1 ||
    { cat "$BUILD/configure.log" >&2; exit 1; }
nice -n 10 cmake --build "$BUILD" -j "$JOBS" --target pitwall-cli pitwall-resources pitwall-standard-carset \
    pitwall-base-tests pitwall-core-tests pitwall-cli-tests
echo "Built in $BUILD ($(($(date +%s) - start)) s)"

# The package: the program with its data beside it (the portable layout), the
# runtime linked in, so no DLLs.
version=$(sed -n 's/^project(Pitwall VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
name=pitwall-cli-$version-windows-x64
stage=$BUILD/package/$name
rm -rf "$BUILD/package"
mkdir -p "$stage"
# Without its symbol table (the build writes no debugging information).
$TRIPLE-strip -o "$stage/pitwall-cli.exe" "$BUILD/bin/pitwall-cli.exe"
for f in "$BUILD"/bin/*.LNG "$BUILD"/bin/*.pal "$BUILD"/bin/*.BMP "$BUILD"/bin/*.DAT "$BUILD"/bin/*.TXT \
    "$BUILD/bin/README.md" "$BUILD/bin/LICENSE"; do
    [ -f "$f" ] && cp "$f" "$stage/"
done
# The DLLs the executable still imports beyond those every Windows has.
dlls=$($TRIPLE-objdump -p "$stage/pitwall-cli.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' |
    grep -v -E '^(kernel32|user32|advapi32|shell32|msvcrt|ucrtbase|api-ms-win-.*|ws2_32|bcrypt|ole32)\.dll$' || true)
if [ -n "$dlls" ]; then
    echo "$0: pitwall-cli.exe needs DLLs that are not packed: $dlls" >&2
    exit 1
fi
(cd "$BUILD/package" && rm -f "$name.zip" && zip -q -r -X "$name.zip" "$name")
mv "$BUILD/package/$name.zip" "$BUILD/$name.zip"
echo "Package: $BUILD/$name.zip"
