#!/usr/bin/env bash
# Runs a benchmark that drives the real windows, under Wine with a warm wineserver, in a working
# folder of its own with a sample config.wmx, against a virtual meter on COM7, stopped after a
# time limit in seconds (above the benchmark's own limits for each step):
#   bench/common/meter-windows.sh <work folder name> <limit> <exe in the build tree> [arguments]
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/../../scripts/env.sh"
source "$here/limited.sh"
meter="$WMX_ROOT/scripts/virtual-meter.sh"

work="$WMX_BUILD/$1"
mkdir -p "$work"
"$WMX_BUILD/native/test-rig/sample-config/sample-config" "$work/config.wmx"

source "$WMX_ROOT/scripts/wine-session.sh"
cleanup() {
    "$meter" stop com7
    stop_wine_session
}
trap cleanup EXIT
"$meter" start com7
cd "$work"
limited "$2" "$1" "$WMX_WIN_BUILD/$3" "${@:4}" | tr -d '\r'
