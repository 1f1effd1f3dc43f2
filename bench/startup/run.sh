#!/usr/bin/env bash
# Start-up time of wmx.exe (launch to idle in its message loop with "config.wmx" loaded) beside a
# minimal window program, both under Wine with a warm wineserver; and the size of wmx.exe.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/env.sh"
runs="${WMX_BENCH_RUNS:-20}"

work="$WMX_BUILD/bench-startup"
mkdir -p "$work"
cxx=i686-w64-mingw32-g++-posix
$cxx -O2 -static -o "$work/launch.exe" "$here/Launch.cpp"
$cxx -O2 -static -mwindows -o "$work/minimal.exe" "$here/MinimalWindow.cpp"
cp "$WMX_BUILD/win/wmx.exe" "$work/"
"$WMX_BUILD/native/tools/sample-config/sample-config" "$work/config.wmx"

source "$WMX_ROOT/scripts/wine-session.sh"
trap stop_wine_session EXIT

cd "$work"
minimal=$(wine launch.exe minimal.exe "$runs" | tr -d '\r')
wmx=$(wine launch.exe wmx.exe "$runs" | tr -d '\r')
echo "start-up, median of $runs runs: wmx.exe $wmx ms, minimal window $minimal ms," \
    "ratio $(awk -v a="$wmx" -v b="$minimal" 'BEGIN { printf "%.2f", a / b }')"
echo "wmx.exe size: $(stat -c %s "$WMX_BUILD/win/wmx.exe") bytes"
