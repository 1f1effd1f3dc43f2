# Sourced by the other scripts: where the builds, the Wine of each width and their prefixes live.
WMX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WMX_BUILD="${WMX_BUILD:-$WMX_ROOT/build}"
# Which Wine runs the Windows programs: win64 (the 64-bit build, on every machine) or win32 (the
# 32-bit build, where the machine runs 32-bit programs). A build tree's tests set it themselves.
export WMX_WINE_ARCH="${WMX_WINE_ARCH:-win64}"
# With it come its loader and server, the build tree of that width (WMX_WIN_BUILD), its package
# name (WMX_ARCH) and its cross compiler's prefix (WMX_MINGW).
case "$WMX_WINE_ARCH" in
win64)
    wine_loader=/usr/lib/wine/wine64 wine_server=/usr/lib/wine/wineserver64
    WMX_WIN_BUILD="$WMX_BUILD/win64" WMX_ARCH=x64 WMX_MINGW=x86_64-w64-mingw32
    ;;
win32)
    wine_loader=/usr/lib/wine/wine wine_server=/usr/lib/wine/wineserver32
    WMX_WIN_BUILD="$WMX_BUILD/win32" WMX_ARCH=x86 WMX_MINGW=i686-w64-mingw32
    ;;
*)
    echo "WMX_WINE_ARCH is '$WMX_WINE_ARCH': win64 or win32" >&2
    return 2
    ;;
esac
export WINEARCH="$WMX_WINE_ARCH"
export WMX_WINEPREFIX="${WMX_OWN_WINEPREFIX:-$WMX_BUILD/wine-prefix-$WMX_WINE_ARCH}"
# WINEPREFIX itself names a folder that cannot be made: the rig's library puts the real one in
# place when it is loaded, so a Wine process without it stops at once (test-rig/pty-rig).
export WINEPREFIX=/dev/null/wmx-pty-rig-not-loaded
export WINEDEBUG=-all
# Serial ports of the test rig: COM5..COM8 are mapped in each prefix to these links, which a
# virtual meter points at its pseudo-terminal.
export WMX_PORTS="$WMX_BUILD/ports"
# Every Wine process of the project runs with the rig's library preloaded (test-rig/pty-rig): a pty
# then answers like a quiet serial port, and the machine's own /dev/ttyS* stay out of reach. The
# loader expands $LIB to the library folder of each process's own width, where the native build
# puts the library of that width. The loader and server of the chosen width are called directly
# (the server started first).
export WMX_PTY_RIG="$WMX_BUILD/native/test-rig/pty-rig/\$LIB/libwmx_pty_rig.so"
export WMX_PTY_RIG_CONTROL="$WMX_PORTS/pty-rig-control"
wineserver() { LD_PRELOAD="$WMX_PTY_RIG" "$wine_server" "$@"; }
wine() {
    wineserver 2>/dev/null || true
    LD_PRELOAD="$WMX_PTY_RIG" "$wine_loader" "$@"
}
# Wine links a new prefix's user folders (Documents, Desktop...) to the real home folder, where a
# program's files would stay after the prefix is gone: each becomes a folder of the prefix's own.
own_user_folders() {
    local folder
    for folder in "$WMX_WINEPREFIX/drive_c/users/$(id -un)"/*; do
        if [ -L "$folder" ]; then
            rm "$folder"
            mkdir "$folder"
        fi
    done
}
