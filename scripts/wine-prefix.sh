#!/usr/bin/env bash
# Creates the project's Wine prefix once: real raster fonts, Wine-drawn window frames (no wait on
# window destruction without a window manager) and the test rig's serial ports COM5..COM8.
# COM1..COM4 are unmapped so that nothing of ours ever opens the machine's own /dev/ttyS*.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

[ -f "$WINEPREFIX/.wmx-ready" ] && exit 0
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX" "$WMX_PORTS"
wineboot -i >/dev/null 2>&1
wineserver -w
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
for n in 1 2 3 4; do
    wine reg add 'HKLM\Software\Wine\Ports' /v COM$n /t REG_SZ /d '' /f >/dev/null
done
for n in 5 6 7 8; do
    wine reg add 'HKLM\Software\Wine\Ports' /v COM$n /t REG_SZ /d "$WMX_PORTS/com$n" /f >/dev/null
done
wineserver -k || true
wineserver -w
touch "$WINEPREFIX/.wmx-ready"
