#!/usr/bin/env bash
# Soak through the real windows against a virtual meter on COM7: open, reply, hang-up and close
# cycles, then a poll of the nine records for a given time, with the growth of handles, threads
# and memory and the replies lost or repeated. The defaults take about 16 minutes.
#   bench/soak/run.sh [cycles (500)] [poll seconds (600)]     (a short try: run.sh 20 30)
exec "$(dirname "${BASH_SOURCE[0]}")/../common/meter-windows.sh" bench-soak \
    bench/soak/soak_bench.exe "${1:-500}" "${2:-600}"
