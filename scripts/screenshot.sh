#!/usr/bin/env bash
# Takes a picture of the main window with the sample measurements: build/screenshot.png.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
"$here/setup.sh"
source "$here/env.sh"
"$here/build.sh"
"$here/wine-prefix.sh"

workdir="$WMX_BUILD/screenshot"
mkdir -p "$workdir"
cp "$WMX_BUILD/win/wmx.exe" "$workdir/"
"$WMX_BUILD/native/tools/sample-config/sample-config" "$workdir/config.wmx"

source "$here/xvfb.sh"
cleanup() { wineserver -k 2>/dev/null || true; kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
(cd "$workdir" && exec wine wmx.exe) &
# Wait (at most 30 s) for the window, then for the clock's first tick.
for _ in $(seq 150); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Kavra Tintra"' && break
    sleep 0.2
done
sleep 1
import -window root -crop 800x460+0+0 "$WMX_BUILD/screenshot.png"
echo "screenshot: $WMX_BUILD/screenshot.png"
