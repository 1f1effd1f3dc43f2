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
source "$here/wine-session.sh"
cleanup() {
    stop_wine_session
    stop_print_queue
}
trap cleanup EXIT
ctest --test-dir "$WMX_BUILD/win" --output-on-failure -j2
