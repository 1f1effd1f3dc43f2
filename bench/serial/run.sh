#!/usr/bin/env bash
# Serial component figures against the virtual meter: delivery latency, idle cost (the
# component's threads, the whole process and the Wine server beside it) and a 1 MB stream.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
fixture="$WMX_ROOT/tests/serial/meter-fixture.sh"
bench="$WMX_BUILD/win/bench/serial/serial_bench.exe"

source "$WMX_ROOT/scripts/wine-session.sh"
cleanup() {
    "$fixture" stop
    stop_wine_session
}
trap cleanup EXIT
"$fixture" start
# Our prefix's server works in the prefix or in a server folder named after its device and inode.
server_name=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
server_pid=
for pid in $(pgrep -f wineserver32); do
    case "$(readlink "/proc/$pid/cwd")" in
    "$WINEPREFIX" | */"$server_name") server_pid=$pid ;;
    esac
done
server_cpu_ms() { awk -v hz="$(getconf CLK_TCK)" '{ print ($14 + $15) * 1000 / hz }' "/proc/$server_pid/stat"; }

wine "$bench" latency
wine "$bench" stream
wine "$bench" idle | while read -r line; do
    case "${line%$'\r'}" in
    idle-start) start=$(server_cpu_ms) ;;
    idle-end) echo "idle 10 s: Wine server $(echo "$(server_cpu_ms) - $start" | bc) ms CPU" ;;
    *) echo "$line" ;;
    esac
done
