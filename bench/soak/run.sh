#!/usr/bin/env bash
# Soak through the real windows against a virtual meter on COM7, under Wine with a warm
# wineserver: open, reply, hang-up and close cycles, then a poll of the nine records for a given
# time, with the growth of handles, threads and memory and the replies lost or repeated.
#   bench/soak/run.sh [cycles (500)] [poll seconds (600)]     (a short try: run.sh 20 30)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
meter="$WMX_ROOT/scripts/virtual-meter.sh"

work="$WMX_BUILD/bench-soak"
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
wine "$WMX_BUILD/win/bench/soak/soak_bench.exe" "${1:-500}" "${2:-600}" | tr -d '\r'
