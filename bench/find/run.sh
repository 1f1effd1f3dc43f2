#!/usr/bin/env bash
# Find, from the click to OK enabled, through the real windows: the meter on the first and on the
# fourth of four ports, and on none of them. The meter is the virtual one on COM7; COM5, COM6 and
# COM8 hold virtual meters that the benchmark tells to be silent or to answer with another text.
# Stops with an error after 10 minutes, or at a step that takes longer than 30 s.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/../../scripts/env.sh"
meter="$WMX_ROOT/scripts/virtual-meter.sh"
others=(com5 com6 com8)
trap 'for p in "${others[@]}"; do "$meter" stop "$p"; done' EXIT
for p in "${others[@]}"; do "$meter" start "$p"; done
"$here/../common/meter-windows.sh" bench-find 600 bench/find/find_bench.exe
