# Sourced by the other scripts: where the builds and the project's own Wine prefix live.
WMX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WMX_BUILD="${WMX_BUILD:-$WMX_ROOT/build}"
export WINEPREFIX="${WMX_WINEPREFIX:-$WMX_BUILD/wine-prefix}"
export WINEARCH=win32
export WINEDEBUG=-all
# Serial ports of the test rig: COM5..COM8 are mapped in the prefix to these links, which a
# virtual meter points at its pseudo-terminal.
export WMX_PORTS="$WMX_BUILD/ports"
# Every Wine process of the project runs with the rig's library preloaded (tools/pty-rig): a pty
# then answers like a quiet serial port, and the machine's own /dev/ttyS* stay out of reach. The
# 32-bit loader and server are called directly (the server started first), so no 64-bit shell
# wrapper meets the 32-bit library.
export WMX_PTY_RIG="$WMX_BUILD/native/tools/pty-rig/libwmx_pty_rig.so"
export WMX_PTY_RIG_CONTROL="$WMX_PORTS/pty-rig-control"
wineserver() { LD_PRELOAD="$WMX_PTY_RIG" /usr/lib/wine/wineserver32 "$@"; }
wine() {
    wineserver 2>/dev/null || true
    LD_PRELOAD="$WMX_PTY_RIG" /usr/lib/wine/wine "$@"
}
