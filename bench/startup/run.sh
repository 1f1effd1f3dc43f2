#!/usr/bin/env bash
# Start-up time of wmx.exe (launch to idle in its message loop with "config.wmx" loaded) beside
# two yardsticks, all under Wine with a warm wineserver: a minimal window program, and a window
# program that imports the same system libraries as wmx.exe and initialises the common controls
# as it does, with wmx.exe's manifest (common controls 6, DPI awareness) and without. wmx.exe's
# time less the first baseline's is what the program itself adds. Also the sizes of wmx.exe
# (stripped, as shipped) and of the packages. Each start may take 30 s, each run of the launcher
# 40 s a start and a minute more; beyond, it stops with an error that names the run and program.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/env.sh"
source "$here/../common/limited.sh"
runs="${WMX_BENCH_RUNS:-20}"

work="$WMX_BUILD/bench-startup"
mkdir -p "$work"
cxx=$WMX_MINGW-g++-posix
$cxx -O2 -static -o "$work/launch.exe" "$here/Launch.cpp"
$cxx -O2 -static -mwindows -o "$work/minimal.exe" "$here/MinimalWindow.cpp"
$cxx -O2 -static -mwindows -o "$work/same-dll.exe" "$here/MinimalWindow.cpp" -DWMX_SAME_DLLS \
    -lcomctl32 -lcomdlg32 -ladvapi32
echo "1 24 \"$WMX_WIN_BUILD/wmx.manifest\"" >"$work/manifest.rc"
$WMX_MINGW-windres "$work/manifest.rc" -O coff -o "$work/manifest.o"
$cxx -O2 -static -mwindows -o "$work/same-dll-manifest.exe" "$here/MinimalWindow.cpp" -DWMX_SAME_DLLS \
    "$work/manifest.o" -lcomctl32 -lcomdlg32 -ladvapi32
cp "$WMX_WIN_BUILD/wmx.exe" "$work/"
"$WMX_BUILD/native/test-rig/sample-config/sample-config" "$work/config.wmx"

source "$WMX_ROOT/scripts/wine-session.sh"
trap stop_wine_session EXIT

cd "$work"
# One line per program, in this order.
programs=(minimal.exe same-dll.exe same-dll-manifest.exe wmx.exe)
medians="$(limited $((60 + runs * ${#programs[@]} * 40)) "start-up benchmark, $runs runs" \
    launch.exe "$runs" "${programs[@]}" | tr -d '\r')"
mapfile -t ms <<<"$medians"
minimal=${ms[0]} bare=${ms[1]} baseline=${ms[2]} wmx=${ms[3]}
echo "start-up of the $WMX_ARCH build, median of $runs runs taken in turns (ms): wmx.exe $wmx;" \
    "same libraries with the manifest $baseline, without $bare; minimal window $minimal"
echo "wmx.exe adds $(awk -v a="$wmx" -v b="$baseline" 'BEGIN { printf "%.1f", a - b }') ms" \
    "to its baseline; ratio to the minimal window" \
    "$(awk -v a="$wmx" -v b="$minimal" 'BEGIN { printf "%.2f", a / b }')"
# Where the time goes: one start traced by Wine, from the program's load to the end of each phase
# it marks (tracing slows every phase a little). The launcher's figure is left out.
trace="$work/trace.log"
if ! WINEDEBUG=+timestamp,+debugstr,+loaddll limited 100 "start-up benchmark, the traced run" \
    launch.exe 1 wmx.exe 2>"$trace" >/dev/null; then
    tail -n 20 "$trace" >&2
    exit 1
fi
tr -d '\r' <"$trace" |
    awk '
    /Loaded L".*wmx\.exe"/ && !start { start = $1 + 0; last = start; next }
    start && /wmx start-up: / {
        split($0, field, ":"); phase = $0; sub(/.*wmx start-up: /, "", phase); sub(/"$/, "", phase)
        now = field[1] + 0
        line = line sprintf("%s%s %.0f", line ? "; " : "", phase, (now - last) * 1000)
        if (phase == "system") line = line sprintf(" (%d libraries loaded)", libraries)
        last = now; next
    }
    start && /Loaded L"/ && last == start { libraries++ }
    END { print "start-up of wmx.exe, one traced run (ms): " line "; in all " \
          sprintf("%.0f", (last - start) * 1000) }'
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$WMX_WIN_BUILD/CMakeCache.txt")"
# The sizes of both widths' programs and packages, wherever built.
for tree_arch in win:x86 win64:x64; do
    tree="$WMX_BUILD/${tree_arch%:*}" arch="${tree_arch#*:}"
    [ -f "$tree/wmx.exe" ] || continue
    echo "sizes (bytes), $arch: wmx.exe $(stat -c %s "$tree/wmx.exe")," \
        "wmx-$version-$arch.msi $(stat -c %s "$tree/wmx-$version-$arch.msi")," \
        "wmx-$version-$arch.zip $(stat -c %s "$tree/wmx-$version-$arch.zip")"
done
