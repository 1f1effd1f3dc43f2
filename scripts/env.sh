# Sourced by the other scripts: where the builds and the project's own Wine prefix live.
WMX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WMX_BUILD="${WMX_BUILD:-$WMX_ROOT/build}"
export WINEPREFIX="${WMX_WINEPREFIX:-$WMX_BUILD/wine-prefix}"
export WINEARCH=win32
export WINEDEBUG=-all
# Serial ports of the test rig: COM5..COM8 are mapped in the prefix to these links, which a
# virtual meter points at its pseudo-terminal.
export WMX_PORTS="$WMX_BUILD/ports"
