#!/usr/bin/env bash
# Sets everything up, builds wmx.exe and starts it under Wine in a working folder of its own
# (build/run). Without a DISPLAY it runs on an Xvfb display of its own.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
"$here/setup.sh"
source "$here/env.sh"
"$here/build.sh"
"$here/wine-prefix.sh"

workdir="$WMX_BUILD/run"
mkdir -p "$workdir"
cp "$WMX_BUILD/win/wmx.exe" "$WMX_BUILD/win/protokol.bmp" "$workdir/"
# A sample set of nine measurements, so that the window opens full.
"$WMX_BUILD/native/tools/sample-config/sample-config" "$workdir/config.wmx"

if [ -z "${DISPLAY:-}" ]; then
    source "$here/xvfb.sh"
    trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
    echo "run: no DISPLAY, running on Xvfb display $DISPLAY"
fi
cd "$workdir"
wine wmx.exe
