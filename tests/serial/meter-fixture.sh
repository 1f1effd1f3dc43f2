#!/usr/bin/env bash
# Starts (start) or stops (stop) the virtual meter that the serial tests reach as COM5; stopping
# also clears what the tests told the rig library.
set -euo pipefail
root="$(dirname "${BASH_SOURCE[0]}")/../.."
source "$root/scripts/env.sh"
"$root/scripts/virtual-meter.sh" "$1" com5
[ "$1" = stop ] && rm -f "$WMX_PTY_RIG_CONTROL"
exit 0
