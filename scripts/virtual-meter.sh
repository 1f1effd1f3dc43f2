#!/usr/bin/env bash
# Starts or stops a virtual meter that holds nine measurements, on one of the test rig's ports:
#   scripts/virtual-meter.sh start|stop com5..com8
# Wine sees the port as COM5..COM8. Every byte the meter receives is logged to
# $WMX_PORTS/received-<port>.log, emptied at each start (a Windows name that begins "comN." would
# be the port itself).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
port="$2"
pidfile="$WMX_PORTS/meter-$port.pid"

stop() {
    if [ -f "$pidfile" ]; then
        kill "$(cat "$pidfile")" 2>/dev/null || true
        rm -f "$pidfile"
    fi
    rm -f "$WMX_PORTS/$port"
}

case "$1" in
start)
    stop
    mkdir -p "$WMX_PORTS"
    : >"$WMX_PORTS/received-$port.log"
    setsid "$WMX_BUILD/native/test-rig/virtual-meter/virtual-meter" --link "$WMX_PORTS/$port" \
        --log "$WMX_PORTS/received-$port.log" \
        --record 1=0753:0700:0699 --record 2=9999:0700:0700 --record 3=0750:0700:0700 \
        --record 4=0812:0745:0733 --record 5=0600:0710:0720 --record 6=0751:0701:0702 \
        --record 7=0900:0880:0870 --record 8=0749:0700:0700 --record 9=0777:0705:0688 \
        </dev/null >"$WMX_PORTS/meter-$port.log" 2>&1 &
    echo $! >"$pidfile"
    for _ in $(seq 100); do [ -L "$WMX_PORTS/$port" ] && exit 0; sleep 0.05; done
    echo "virtual meter did not start on $port" >&2
    exit 1
    ;;
stop) stop ;;
*)
    echo "usage: $0 start|stop com5..com8" >&2
    exit 2
    ;;
esac
