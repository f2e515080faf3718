# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads).
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
#         -DPITWALL_WINDOWS_DEPS=<prefix of the libraries built for Windows>
#
# scripts/build-windows.sh builds those libraries (libzip, libpng, libjpeg,
# libsndfile, libsamplerate, nettle, stb, GoogleTest) into its cache folder
# and passes that prefix. The runtime (libstdc++, libgcc, winpthread) is linked
# statically, so an executable needs no DLLs beside it. Programs the build runs
# itself (the language-file builder, pitwall-cli for Standard.DAT) and the
# tests run under Wine when it is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PITWALL_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${PITWALL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PITWALL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PITWALL_MINGW_TRIPLE}-windres)

# The toolchain file is read again for every check CMake compiles; the prefix
# travels to those through the environment.
if(NOT PITWALL_WINDOWS_DEPS AND DEFINED ENV{PITWALL_WINDOWS_DEPS})
    set(PITWALL_WINDOWS_DEPS "$ENV{PITWALL_WINDOWS_DEPS}")
endif()
if(PITWALL_WINDOWS_DEPS)
    set(ENV{PITWALL_WINDOWS_DEPS} "${PITWALL_WINDOWS_DEPS}")
endif()

# The libraries built for Windows first: that prefix holds only static ones
# (zlib included, whose MinGW folder also has the DLL's import library).
set(CMAKE_FIND_ROOT_PATH ${PITWALL_WINDOWS_DEPS} /usr/${PITWALL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config looks only at the Windows libraries, and with --static, so each
# library brings the ones it needs in turn.
set(ENV{PKG_CONFIG_LIBDIR}
    "${PITWALL_WINDOWS_DEPS}/lib/pkgconfig:${PITWALL_WINDOWS_DEPS}/share/pkgconfig:/usr/${PITWALL_MINGW_TRIPLE}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(PKG_CONFIG_ARGN --static)
set(ZLIB_USE_STATIC_LIBS ON)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(PITWALL_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(PITWALL_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PITWALL_WINE})
endif()
