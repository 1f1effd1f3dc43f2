#!/usr/bin/env bash
# Sets everything up, builds the trees and runs every test: the native tests and the fuzz targets
# first, then the Windows suite against the 64-bit build under the 64-bit Wine, then the same
# suite against the 32-bit build under the 32-bit Wine where this machine runs 32-bit programs.
# Each suite has its own prefix, its own Xvfb display and one warm wineserver.
#   scripts/test.sh [--under-load]
# --under-load (or WMX_TEST_LOAD=1 in the environment) runs the Windows suites beside a CPU load
# of two busy processes, as on a machine shared with other work.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
under_load="${WMX_TEST_LOAD:-0}"
case "${1:-}" in
--under-load) under_load=1 ;;
"") ;;
*)
    echo "usage: scripts/test.sh [--under-load]" >&2
    exit 2
    ;;
esac
"$here/setup.sh"
source "$here/env.sh"
"$here/build.sh"

# counted COMMAND...: runs it and adds the count of the last ctest it ran to the totals printed at
# the end (a run that printed none counts as one failure).
passed=0 failed=0
counted() {
    local log code=0 line
    log="$(mktemp)"
    "$@" 2>&1 | tee "$log" || code=$?
    line="$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)"
    rm -f "$log"
    if [ -n "$line" ]; then
        local total bad
        total="$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")"
        bad="$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")"
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    else
        failed=$((failed + 1))
    fi
    return "$code"
}

status=0
counted ctest --test-dir "$WMX_BUILD/native" --output-on-failure -j2 || status=1
"$here/fuzz.sh" || status=1

# The report's printing tests print to a private CUPS queue; Wine only sees it if it runs first.
source "$WMX_ROOT/tests/report/print-queue.sh"
load_pid=
# Stops the load; an error when it had ended before the suites did, or ended badly.
stop_load() {
    [ -n "$load_pid" ] || return 0
    local pid=$load_pid code=0
    load_pid=
    if ! kill "$pid"; then
        echo "test: the load (stress-ng) had ended before the Windows suites did" >&2
        status=1
    fi
    wait "$pid" || code=$?
    if [ "$code" -ne 0 ]; then
        echo "test: the load (stress-ng) ended with exit code $code" >&2
        status=1
    fi
}
cleanup() {
    stop_load
    stop_print_queue
}
trap cleanup EXIT
start_print_queue

# windows_suite ARCH: the Windows tests of the build tree of one width under the Wine of that
# width.
windows_suite() (
    export WMX_WINE_ARCH="$1"
    source "$here/env.sh"
    "$here/wine-prefix.sh"
    source "$here/wine-session.sh"
    trap stop_wine_session EXIT
    echo "== Windows suite $1: $WMX_WIN_BUILD under $wine_loader"
    ctest --test-dir "$WMX_WIN_BUILD" --output-on-failure -j2
)

results=()
# suite ARCH WHAT: runs the suite and notes its result.
suite() {
    if counted windows_suite "$1"; then
        results+=("Windows suite $1 ($2): passed")
    else
        results+=("Windows suite $1 ($2): FAILED")
        status=1
    fi
}
if [ "$under_load" != 0 ]; then
    echo "== the Windows suites run beside stress-ng --cpu 2"
    # A session of its own: Ctrl+C reaches the tests, and the load is stopped by cleanup alone.
    setsid stress-ng --cpu 2 &
    load_pid=$!
fi
suite win64 "the 64-bit build"
if answer="$("$here/runs-32bit.sh")"; then
    suite win32 "the 32-bit build"
else
    results+=("Windows suite win32 (the 32-bit build): skipped, this machine runs no 32-bit program ($answer)")
fi
stop_load
printf '%s\n' "${results[@]}"
echo "wmx: $passed passed, $failed failed"
exit "$status"
