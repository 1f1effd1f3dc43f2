#!/usr/bin/env bash
# Runs a generator of the build under the 64-bit Wine, which every machine runs:
# wine-build-tool.sh <generator.exe> <output file>.
# It needs the project's prefix but no display; the wineserver it starts is waited for, so that a
# later run on a display does not meet a server started without one.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export WMX_WINE_ARCH=win64
"$here/wine-prefix.sh"
source "$here/env.sh"
cd "$(dirname "$2")"
wine "$1" "$(basename "$2")"
wineserver -w
