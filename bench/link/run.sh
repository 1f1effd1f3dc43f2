#!/usr/bin/env bash
# The read of the nine records from OK to row 9 filled, ten runs through the real windows against
# a virtual meter on COM7, under Wine with a warm wineserver; it stops with an error after 10
# minutes, or at a step that takes longer than 30 s.
exec "$(dirname "${BASH_SOURCE[0]}")/../common/meter-windows.sh" bench-link 600 \
    bench/link/link_bench.exe
