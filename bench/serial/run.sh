#!/usr/bin/env bash
# Serial component figures against the virtual meter: delivery latency, a 1 MB stream, and the
# idle cost (the component's threads, the whole process and the Wine server beside it) side by
# side with a bare program that only keeps one port event wait pending on the same pty. Each run
# of the bench that takes longer than its limit stops it with an error that names the run.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/../../scripts/env.sh"
source "$here/../common/limited.sh"
fixture="$WMX_ROOT/tests/serial/meter-fixture.sh"
bench="$WMX_WIN_BUILD/bench/serial/serial_bench.exe"

source "$WMX_ROOT/scripts/wine-session.sh"
cleanup() {
    "$fixture" stop
    stop_wine_session
}
trap cleanup EXIT
"$fixture" start
# Our prefix's server works in the prefix or in a server folder named after its device and inode.
server_name=$(printf 'server-%x-%x' "$(stat -c %d "$WMX_WINEPREFIX")" "$(stat -c %i "$WMX_WINEPREFIX")")
server_pid=
for pid in $(pgrep -f "$wine_server"); do
    case "$(readlink "/proc/$pid/cwd")" in
    "$WMX_WINEPREFIX" | */"$server_name") server_pid=$pid ;;
    esac
done
server_cpu_ms() { awk -v hz="$(getconf CLK_TCK)" '{ print ($14 + $15) * 1000 / hz }' "/proc/$server_pid/stat"; }

# The machine's busy and total CPU time in ticks. The latency's tail is the wake-ups' wait for a
# core: it follows how busy the machine is, other work included, so that share is printed too.
cpu_ticks() { awk '/^cpu / { print $2 + $3 + $4 + $7 + $8, $2 + $3 + $4 + $5 + $6 + $7 + $8 }' /proc/stat; }
read -r busy_before all_before < <(cpu_ticks)
limited 120 "serial benchmark, delivery latency" "$bench" latency | tr -d '\r'
read -r busy_after all_after < <(cpu_ticks)
echo "the machine meanwhile: $((100 * (busy_after - busy_before) / (all_after - all_before))) % of" \
    "its $(nproc) cores busy (this benchmark included)"
limited 120 "serial benchmark, 1 MB stream" "$bench" stream | tr -d '\r'
# Runs one idle mode of the bench and prints its figures as one row: CPU ms over the 10 s and the
# share of a core, for the component's threads, the whole process and the Wine server.
idle_row() {
    local label=$1 mode=$2 start=0 server=0 threads=-1 process=0
    while read -r line; do
        set -- ${line%$'\r'}
        case "$1" in
        idle-start) start=$(server_cpu_ms) ;;
        idle-end) server=$(echo "$(server_cpu_ms) - $start" | bc) ;;
        idle-cpu-us) threads=$2 process=$3 ;;
        esac
    done < <(limited 60 "serial benchmark, idle ($mode)" "$bench" "$mode")
    wait $! || exit 1
    awk -v label="$label" -v t="$threads" -v p="$process" -v s="$server" 'BEGIN {
        cell = "%9.1f ms %6.3f %%"
        printf "%-34s", label
        if (t < 0) printf "%21s", "-"; else printf cell, t / 1000, t / 100000
        printf "   " cell "   " cell "\n", p / 1000, p / 100000, s, s / 100
    }'
}
printf '%-34s%21s   %21s   %21s\n' "idle 10 s, CPU (share of a core)" "program's threads" \
    "whole process" "Wine server"
idle_row "wmx component, port open" idle
idle_row "bare WaitCommEvent on the same pty" bare
