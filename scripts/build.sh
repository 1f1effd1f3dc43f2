#!/usr/bin/env bash
# Configures and builds both trees: build/native (Linux, sanitizers) and build/win (wmx.exe).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

cmake -S "$WMX_ROOT" -B "$WMX_BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$WMX_BUILD/native"
cmake -S "$WMX_ROOT" -B "$WMX_BUILD/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$WMX_ROOT/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$WMX_BUILD/win"
