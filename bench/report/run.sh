#!/usr/bin/env bash
# Report figures: preparing one report on an A4 form at 300 pixels per inch (2480 x 3508,
# 24 bits), whole print jobs to the private PDF queue of the tests, timed until the PDF is
# written, and opening the print preview, with the peak memory of one print and one preview.
# Runs on its own Xvfb display and print queue; scripts/bench.sh builds first. Each step that
# takes longer than its limit stops the benchmark with an error that names it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/scripts/env.sh"
source "$root/bench/common/limited.sh"
bench="$WMX_WIN_BUILD/bench/report/report_bench.exe"
form="$WMX_WIN_BUILD/protokol.bmp"

work="$(mktemp -d "$WMX_BUILD/report-bench.XXXXXX")"
source "$root/tests/report/print-queue.sh"
start_print_queue
source "$root/scripts/wine-session.sh"
cleanup() {
    stop_wine_session
    stop_print_queue
    rm -rf "$work"
}
trap cleanup EXIT

cd "$work"
limited 120 "report benchmark, the form at 300 dpi" \
    "$bench" scale "$(wine winepath -w "$form" | tr -d '\r')"
limited 300 "report benchmark, prepare" "$bench" prepare form300.bmp 10
# Peak memory from the kernel's count of the whole process, without and with one report.
# peak MODE ARGS...: kilobytes. The timer runs the Wine loader itself: `wine` is a shell function.
peak() {
    local log code=0
    log="$(mktemp)"
    timeout --foreground --kill-after=10 300 /usr/bin/time -o "$log" -f %M \
        env LD_PRELOAD="$WMX_PTY_RIG" "$wine_loader" "$bench" "$@" >/dev/null || code=$?
    if [ "$code" -ne 0 ]; then
        echo "report benchmark, peak memory of '$*': exit code $code (124: no end within 300 s)" >&2
        cat "$log" >&2
        rm -f "$log"
        return "$code"
    fi
    tail -n1 "$log"
    rm -f "$log"
}
alone=$(peak prepare form300.bmp 0)
one=$(peak prepare form300.bmp 1)
echo "peak resident memory of one report: $(((one - alone) / 1024)) MiB above the process alone ($((alone / 1024)) MiB)"

cp "$form" protokol.bmp
runs=5
start=$(date +%s%N)
limited 600 "report benchmark, print" "$bench" print $runs
# The queue says nothing when a job is written: its folder is looked at until all are there.
written=0
for _ in $(seq 600); do
    written=$(find "$WMX_PDF_DIR" -name '*.pdf' | wc -l)
    [ -z "$(lpstat -o WmxPdf)" ] && [ "$written" -ge $runs ] && break
    sleep 0.05
done
end=$(date +%s%N)
if [ "$written" -lt $runs ]; then
    echo "report benchmark, print: $written of $runs PDFs written after 30 s" >&2
    exit 1
fi
echo "print jobs to PDF, $runs in a row, dialog to the last PDF written: $(((end - start) / 1000000 / runs)) ms per job"

limited 300 "report benchmark, preview" "$bench" preview 10
# The preview beside Print, on the same form: one of each in a process, above the process alone.
print_alone=$(peak print 0)
print_one=$(peak print 1)
preview_alone=$(peak preview 0)
preview_one=$(peak preview 1)
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
echo "peak resident memory on the form, above the process alone: Print" \
    "$(mib $((print_one - print_alone))) MiB, preview $(mib $((preview_one - preview_alone))) MiB" \
    "(the process alone: $(mib "$print_alone") MiB, $(mib "$preview_alone") MiB)"
