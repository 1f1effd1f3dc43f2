#!/usr/bin/env bash
# Runs the form generator under Wine at build time: make-form.sh <generator.exe> <output.bmp>.
# It needs the project's prefix but no display; the wineserver it starts is waited for, so that a
# later run on a display does not meet a server started without one.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
"$root/scripts/wine-prefix.sh"
source "$root/scripts/env.sh"
cd "$(dirname "$2")"
wine "$1" "$(basename "$2")"
wineserver -w
