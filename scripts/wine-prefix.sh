#!/usr/bin/env bash
# Creates the project's Wine prefix of the chosen width (WMX_WINE_ARCH) once: real raster fonts,
# Wine-drawn window frames (no wait on window destruction without a window manager) and the test
# rig's serial ports COM5..COM8.
# The preloaded rig library hides /dev/ttyS* from Wine, so that no COM name leads to the
# machine's own serial ports (the first is the system console) and only COM5..COM8 exist.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

[ -f "$WMX_WINEPREFIX/.wmx-ready-3" ] && exit 0
# The build's generators may ask for the prefix at the same time: one makes it, the others wait.
mkdir -p "$WMX_BUILD"
exec 9>"$WMX_BUILD/.wine-prefix-$WMX_WINE_ARCH.lock"
flock 9
[ -f "$WMX_WINEPREFIX/.wmx-ready-3" ] && exit 0
rm -rf "$WMX_WINEPREFIX"
mkdir -p "$WMX_WINEPREFIX" "$WMX_PORTS"
wine wineboot -i >/dev/null 2>&1
wineserver -w
own_user_folders
cp /usr/share/wine/fonts/* "$WMX_WINEPREFIX/drive_c/windows/Fonts/"
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
for n in 5 6 7 8; do
    wine reg add 'HKLM\Software\Wine\Ports' /v COM$n /t REG_SZ /d "$WMX_PORTS/com$n" /f >/dev/null
done
wineserver -k || true
wineserver -w
touch "$WMX_WINEPREFIX/.wmx-ready-3"
