#!/usr/bin/env bash
# Configures and builds the trees: build/native (Linux, sanitizers, the test rig's tools),
# build/win64 (the 64-bit wmx.exe with its tests, and the drawn files: it runs the generators)
# and build/win32 (the 32-bit wmx.exe a station installs; its tests only where this machine runs
# 32-bit programs).
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/env.sh"

runs32=OFF
"$here/runs-32bit.sh" >/dev/null && runs32=ON

cmake -S "$WMX_ROOT" -B "$WMX_BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DWMX_RIG32=$runs32 >/dev/null
cmake --build "$WMX_BUILD/native"
cmake -S "$WMX_ROOT" -B "$WMX_BUILD/win64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$WMX_ROOT/cmake/mingw-x86_64.cmake" >/dev/null
cmake --build "$WMX_BUILD/win64"
cmake -S "$WMX_ROOT" -B "$WMX_BUILD/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$WMX_ROOT/cmake/mingw-i686.cmake" \
    -DWMX_DRAWN_FILES_FROM="$WMX_BUILD/win64" -DWMX_TESTS=$runs32 >/dev/null
cmake --build "$WMX_BUILD/win32"
