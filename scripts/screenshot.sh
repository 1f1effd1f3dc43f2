#!/usr/bin/env bash
# Takes a picture of the main window with the sample measurements: build/screenshot.png.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
"$here/setup.sh"
source "$here/program-width.sh"
source "$here/env.sh"
"$here/build.sh"
"$here/wine-prefix.sh"

workdir="$WMX_BUILD/screenshot"
mkdir -p "$workdir"
cp "$WMX_WIN_BUILD/wmx.exe" "$workdir/"
"$WMX_BUILD/native/test-rig/sample-config/sample-config" "$workdir/config.wmx"

source "$here/xvfb.sh"
cleanup() { wineserver -k 2>/dev/null || true; kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
(cd "$workdir" && wine wmx.exe) &
source "$here/window-picture.sh"
window_picture "$WMX_BUILD/screenshot.png"
echo "screenshot: $WMX_BUILD/screenshot.png"
