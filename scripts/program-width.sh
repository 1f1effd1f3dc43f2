# Sourced before env.sh by the run, screenshot and benchmark commands: they run the 32-bit program
# (the one a station installs) where this machine runs 32-bit programs, else the 64-bit one.
if "$(dirname "${BASH_SOURCE[0]}")/runs-32bit.sh" >/dev/null; then
    export WMX_WINE_ARCH=win32
else
    export WMX_WINE_ARCH=win64
fi
