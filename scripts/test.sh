#!/usr/bin/env bash
# Sets everything up, builds both trees and runs every test: the native tests first, then the
# Windows tests under Wine on an Xvfb display of their own.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
"$here/setup.sh"
source "$here/env.sh"
"$here/build.sh"
"$here/wine-prefix.sh"

ctest --test-dir "$WMX_BUILD/native" --output-on-failure -j2
"$here/fuzz.sh"

# The report's printing tests print to a private CUPS queue; Wine only sees it if it runs first.
source "$WMX_ROOT/tests/report/print-queue.sh"
start_print_queue
source "$here/xvfb.sh"
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    stop_print_queue
}
trap cleanup EXIT
# One warm wineserver for the whole run. Its services start here, away from ctest's output pipes,
# which they would otherwise hold open after the first test has ended.
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1
ctest --test-dir "$WMX_BUILD/win" --output-on-failure -j2
