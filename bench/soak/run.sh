#!/usr/bin/env bash
# Soak through the real windows against a virtual meter on COM7: open, reply, hang-up and close
# cycles, then a poll of the nine records for a given time, with the growth of handles, threads
# and memory and the replies lost or repeated. The defaults take about 16 minutes. It stops with
# an error at a step that takes longer than a minute, or when the whole takes 30 s a cycle and
# ten minutes beyond the poll.
#   bench/soak/run.sh [cycles (500)] [poll seconds (600)]     (a short try: run.sh 20 30)
cycles="${1:-500}" seconds="${2:-600}"
exec "$(dirname "${BASH_SOURCE[0]}")/../common/meter-windows.sh" bench-soak \
    $((cycles * 30 + seconds + 600)) bench/soak/soak_bench.exe "$cycles" "$seconds"
