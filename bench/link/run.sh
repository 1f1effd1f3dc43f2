#!/usr/bin/env bash
# The read of the nine records from OK to row 9 filled, ten runs through the real windows against
# a virtual meter on COM7, under Wine with a warm wineserver.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
meter="$WMX_ROOT/scripts/virtual-meter.sh"

work="$WMX_BUILD/bench-link"
mkdir -p "$work"
"$WMX_BUILD/native/tools/sample-config/sample-config" "$work/config.wmx"

source "$WMX_ROOT/scripts/wine-session.sh"
cleanup() {
    "$meter" stop com7
    stop_wine_session
}
trap cleanup EXIT
"$meter" start com7
cd "$work"
wine "$WMX_BUILD/win/bench/link/link_bench.exe" | tr -d '\r'
