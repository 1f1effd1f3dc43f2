# shellcheck shell=bash
# Sourced by the benchmarks' scripts after scripts/env.sh.
# limited SECONDS WHAT PROGRAM [ARGUMENTS]: runs a Windows program as `wine` does (the session's
# server already up), stopped after SECONDS; a run that fails or is stopped says so, naming WHAT
# it was. Returns the program's exit code, or 124 when it was stopped.
limited() {
    local seconds=$1 what=$2 code=0
    shift 2
    # In the foreground, so that a program started from a terminal may use it.
    timeout --foreground --kill-after=10 "$seconds" \
        env LD_PRELOAD="$WMX_PTY_RIG" "$wine_loader" "$@" || code=$?
    case $code in
    0) ;;
    124 | 137) echo "$what: no end within $seconds s, stopped" >&2 ;;
    *) echo "$what: failed with exit code $code" >&2 ;;
    esac
    return "$code"
}
