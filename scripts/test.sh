#!/usr/bin/env bash
# Sets everything up, builds the trees and runs every test: the native tests and the fuzz targets
# first, then the Windows suite against the 64-bit build under the 64-bit Wine, then the same
# suite against the 32-bit build under the 32-bit Wine where this machine runs 32-bit programs.
# Each suite has its own prefix, its own Xvfb display and one warm wineserver.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
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
start_print_queue
trap stop_print_queue EXIT

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
suite win64 "the 64-bit build"
if answer="$("$here/runs-32bit.sh")"; then
    suite win32 "the 32-bit build"
else
    results+=("Windows suite win32 (the 32-bit build): skipped, this machine runs no 32-bit program ($answer)")
fi
printf '%s\n' "${results[@]}"
echo "wmx: $passed passed, $failed failed"
exit "$status"
