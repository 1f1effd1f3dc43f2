#!/usr/bin/env bash
# Builds everything and runs every benchmark; each prints its own figures. The soak
# (bench/soak/run.sh) runs its full length, about 16 minutes, and the monkey (bench/monkey/run.sh)
# ten minutes.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
"$here/setup.sh"
source "$here/program-width.sh"
source "$here/env.sh"
echo "bench: the $WMX_ARCH build, $WMX_WIN_BUILD, under $wine_loader"
"$here/build.sh"
"$here/wine-prefix.sh"
for b in "$WMX_ROOT"/bench/*/run.sh; do
    [ -f "$b" ] || continue
    echo "== ${b#$WMX_ROOT/}"
    bash "$b"
done
