#!/usr/bin/env bash
# Sets everything up, builds wmx.exe and starts it under Wine in a working folder of its own
# (build/run), beside a virtual meter with nine measurements on COM8, the last port the port
# dialog lists: Connect, TEST and OK read them. Print goes to a private PDF queue (the one the
# tests use), started before Wine so that Wine sees it. Without a DISPLAY it runs on an Xvfb
# display of its own and saves a picture of the window once it is up.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/setup.sh"
source "$here/program-width.sh"
source "$here/env.sh"
echo "run: the $WMX_ARCH program, $WMX_WIN_BUILD/wmx.exe, under $wine_loader"
"$here/build.sh"
"$here/wine-prefix.sh"

workdir="$WMX_BUILD/run"
mkdir -p "$workdir"
cp "$WMX_WIN_BUILD/wmx.exe" "$WMX_WIN_BUILD/protokol.bmp" "$workdir/"
# A sample set of nine measurements, so that the window opens full.
"$WMX_BUILD/native/test-rig/sample-config/sample-config" "$workdir/config.wmx"

source "$WMX_ROOT/tests/report/print-queue.sh"
xvfb_pid=
cleanup() {
    [ -z "$xvfb_pid" ] || wineserver -k 2>/dev/null || true
    "$here/virtual-meter.sh" stop com8
    stop_print_queue
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
start_print_queue
echo "run: Print writes a PDF into $WMX_PDF_DIR"
"$here/virtual-meter.sh" start com8
echo "run: the virtual meter with nine measurements is on COM8"
cd "$workdir"
if [ -n "${DISPLAY:-}" ]; then
    wine wmx.exe
    exit
fi

source "$here/xvfb.sh"
picture="$WMX_BUILD/run.png"
echo "run: no DISPLAY, so the window is on the Xvfb display $DISPLAY of this run. Watch it with"
echo "     a VNC server on that display (x11vnc -display $DISPLAY) or take a picture any time:"
echo "     DISPLAY=$DISPLAY import -window root picture.png"
wine wmx.exe &
source "$here/window-picture.sh"
window_picture "$picture"
echo "run: the window as it opened: $picture (Ctrl+C ends the program)"
wait
