# Sourced: an Xvfb display of its own and one warm wineserver for a run of Windows programs;
# stop_wine_session ends both. Says which width of the program runs, so every figure and result
# printed after it is known to be of that build.
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
stop_wine_session() {
    wineserver -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
}
# Wine's services start here, away from the callers' output pipes, which they would otherwise
# hold open after the first program has ended.
echo "wine: the $WMX_ARCH build ($WMX_WIN_BUILD) under $wine_loader, prefix $WMX_WINEPREFIX"
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1
