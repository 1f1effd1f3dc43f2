#!/usr/bin/env bash
# Random use of the shipped wmx.exe for a while ("monkey"): clicks, keys, typing (Polish letters and
# texts longer than a field keeps), files opened and saved, print previews, the port dialog against
# the virtual meter on COM7 with faults of a real line, the questions answered at random. It
# checks all the time that the program lives and answers within 1 s and that the sets it writes
# keep each reading in its own row, and at the end that every file saved reads back and that the
# program's objects did not grow; it prints its figures. A failure prints the seed, what failed and
# the last 50 actions, and exits non-zero. Run under code page 1250, as at a Polish station.
#   bench/monkey/run.sh [seconds (600)] [seed (1)]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/env.sh"
source "$here/../common/limited.sh"
seconds="${1:-600}" seed="${2:-1}"
meter="$WMX_ROOT/scripts/virtual-meter.sh"

work="$WMX_BUILD/bench-monkey"
rm -rf "$work"
mkdir -p "$work/locale"
"$WMX_BUILD/native/test-rig/sample-config/sample-config" "$work/config.wmx"
: >"$work/meter-cues.txt"
# Wine takes the ANSI code page from the Unix locale (this shell has no use for it).
localedef -i pl_PL -f UTF-8 "$work/locale/pl_PL.UTF-8"
export LOCPATH="$work/locale"
export LC_ALL=pl_PL.UTF-8 2>/dev/null

# A PDF queue, so that the print dialogs are the real ones; the monkey cancels every one.
source "$WMX_ROOT/tests/report/print-queue.sh"
relay=
cleanup() {
    [ -z "$relay" ] || kill "$relay" 2>/dev/null || true
    "$meter" stop com7
    ! declare -F stop_wine_session >/dev/null || stop_wine_session
    stop_print_queue
}
trap cleanup EXIT
start_print_queue
source "$WMX_ROOT/scripts/wine-session.sh"
# The recent files and the remembered port of earlier runs would lead elsewhere.
wine reg delete 'HKCU\Software\Kavra Tintra' /f >/dev/null 2>&1 || true
"$meter" start com7
"$here/meter-relay.sh" "$work/meter-cues.txt" com7 >"$work/relay.log" 2>&1 &
relay=$!
cd "$work"
exe="Z:${WMX_WIN_BUILD//\//\\}\\wmx.exe"
# The machine's busy and total CPU time in ticks: a stall is read beside the other work it did.
cpu_ticks() { awk '/^cpu / { print $2 + $3 + $4 + $7 + $8, $2 + $3 + $4 + $5 + $6 + $7 + $8 }' /proc/stat; }
read -r busy_before all_before < <(cpu_ticks)
limited 120 "the file dialog yardstick" "$WMX_WIN_BUILD/bench/monkey/file_dialog_yardstick.exe" |
    tr -d '\r' | grep -v 'FS volume label and serial are not available'
# The monkey's own time limits end it well within this one; its texts are in code page 1250.
# Wine's note on every file dialog that Z: has no volume label is left out.
set +e
limited $((seconds + 600)) "monkey, seed $seed" \
    "$WMX_WIN_BUILD/bench/monkey/monkey_bench.exe" "$seconds" "$seed" "$exe" 2>&1 |
    tr -d '\r' | iconv -c -f CP1250 -t UTF-8 | grep -v 'FS volume label and serial are not available'
code=${PIPESTATUS[0]}
set -e
read -r busy_after all_after < <(cpu_ticks)
echo "the machine meanwhile: $((100 * (busy_after - busy_before) / (all_after - all_before))) % of" \
    "its $(nproc) cores busy (this benchmark included)"
echo "pages printed: $(find "$WMX_PDF_DIR" -name '*.pdf' | wc -l) (every print dialog cancelled)"
exit "$code"
