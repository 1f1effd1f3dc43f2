#!/usr/bin/env bash
# Sets everything up, builds wmx.exe and starts it under Wine in a working folder of its own
# (build/run), beside a virtual meter with nine measurements on COM8, the last port the port
# dialog lists: Connect, TEST and OK read them. Without a DISPLAY it runs on an Xvfb display of
# its own.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/setup.sh"
source "$here/env.sh"
"$here/build.sh"
"$here/wine-prefix.sh"

workdir="$WMX_BUILD/run"
mkdir -p "$workdir"
cp "$WMX_BUILD/win/wmx.exe" "$WMX_BUILD/win/protokol.bmp" "$workdir/"
# A sample set of nine measurements, so that the window opens full.
"$WMX_BUILD/native/tools/sample-config/sample-config" "$workdir/config.wmx"

xvfb_pid=
cleanup() {
    "$here/virtual-meter.sh" stop com8
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
"$here/virtual-meter.sh" start com8
if [ -z "${DISPLAY:-}" ]; then
    source "$here/xvfb.sh"
    echo "run: no DISPLAY, running on Xvfb display $DISPLAY"
fi
cd "$workdir"
wine wmx.exe
