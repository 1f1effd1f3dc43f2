#!/usr/bin/env bash
# Starts (start) or stops (stop) the virtual meter that the serial tests reach as COM5.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
pidfile="$WMX_PORTS/com5.pid"

stop() {
    if [ -f "$pidfile" ]; then
        kill "$(cat "$pidfile")" 2>/dev/null || true
        rm -f "$pidfile"
    fi
    rm -f "$WMX_PORTS/com5" "$WMX_PTY_RIG_CONTROL"
}

case "$1" in
start)
    stop
    mkdir -p "$WMX_PORTS"
    setsid "$WMX_BUILD/native/tools/virtual-meter/virtual-meter" --link "$WMX_PORTS/com5" \
        --log "$WMX_PORTS/com5.received" --record 1=0753:0700:0701 \
        </dev/null >"$WMX_PORTS/com5.meter.log" 2>&1 &
    echo $! >"$pidfile"
    for _ in $(seq 100); do [ -L "$WMX_PORTS/com5" ] && exit 0; sleep 0.05; done
    echo "virtual meter did not start" >&2
    exit 1
    ;;
stop) stop ;;
esac
