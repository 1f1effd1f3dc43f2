#!/usr/bin/env bash
# Start-up time of wmx.exe (launch to idle in its message loop with "config.wmx" loaded) beside
# two yardsticks, all under Wine with a warm wineserver: a minimal window program, and a window
# program that imports the same system libraries as wmx.exe and initialises the common controls
# as it does, with wmx.exe's manifest (common controls 6, DPI awareness) and without. wmx.exe's
# time less the first baseline's is what the program itself adds. Also the sizes of wmx.exe
# (stripped, as shipped) and of the packages.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/env.sh"
runs="${WMX_BENCH_RUNS:-20}"

work="$WMX_BUILD/bench-startup"
mkdir -p "$work"
cxx=i686-w64-mingw32-g++-posix
$cxx -O2 -static -o "$work/launch.exe" "$here/Launch.cpp"
$cxx -O2 -static -mwindows -o "$work/minimal.exe" "$here/MinimalWindow.cpp"
$cxx -O2 -static -mwindows -o "$work/same-dll.exe" "$here/MinimalWindow.cpp" -DWMX_SAME_DLLS \
    -lcomctl32 -lcomdlg32 -ladvapi32
echo "1 24 \"$WMX_BUILD/win/wmx.manifest\"" >"$work/manifest.rc"
i686-w64-mingw32-windres "$work/manifest.rc" -O coff -o "$work/manifest.o"
$cxx -O2 -static -mwindows -o "$work/same-dll-manifest.exe" "$here/MinimalWindow.cpp" -DWMX_SAME_DLLS \
    "$work/manifest.o" -lcomctl32 -lcomdlg32 -ladvapi32
cp "$WMX_BUILD/win/wmx.exe" "$work/"
"$WMX_BUILD/native/tools/sample-config/sample-config" "$work/config.wmx"

source "$WMX_ROOT/scripts/wine-session.sh"
trap stop_wine_session EXIT

cd "$work"
# One line per program, in this order.
mapfile -t ms < <(wine launch.exe "$runs" minimal.exe same-dll.exe same-dll-manifest.exe wmx.exe |
    tr -d '\r')
minimal=${ms[0]} bare=${ms[1]} baseline=${ms[2]} wmx=${ms[3]}
echo "start-up, median of $runs runs taken in turns (ms): wmx.exe $wmx;" \
    "same libraries with the manifest $baseline, without $bare; minimal window $minimal"
echo "wmx.exe adds $(awk -v a="$wmx" -v b="$baseline" 'BEGIN { printf "%.1f", a - b }') ms" \
    "to its baseline; ratio to the minimal window" \
    "$(awk -v a="$wmx" -v b="$minimal" 'BEGIN { printf "%.2f", a / b }')"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$WMX_BUILD/win/CMakeCache.txt")"
echo "sizes (bytes): wmx.exe $(stat -c %s "$WMX_BUILD/win/wmx.exe")," \
    "wmx-$version.msi $(stat -c %s "$WMX_BUILD/win/wmx-$version.msi")," \
    "wmx-$version.zip $(stat -c %s "$WMX_BUILD/win/wmx-$version.zip")"
