#!/usr/bin/env bash
# A save keeps the permissions the file had on the system, whichever they are: no user gains
# access through a save. Under Wine a new file gets the permissions of the process's umask and
# access rules written back map onto other permissions, so this is looked at from Linux.
#   keeps-permissions.sh <save_probe.exe>
set -euo pipefail
probe="$1"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
sample="$WMX_BUILD/native/test-rig/sample-config/sample-config"
work="$(mktemp -d "$WMX_BUILD/keeps-permissions.XXXXXX")"
trap 'rm -rf "$work"' EXIT
failures=0
for mode in 600 640 644 660 604 666; do
    rm -f "$work"/*
    "$sample" "$work/set.wmx"
    chmod "$mode" "$work/set.wmx"
    if ! wine "$probe" "$(wine winepath -w "$work/set.wmx" | tr -d '\r')"; then
        echo "FAIL: mode $mode: the save failed"
        failures=$((failures + 1))
        continue
    fi
    after="$(stat -c %a "$work/set.wmx")"
    saved="$(grep -ac saved "$work/set.wmx" || true)"
    left="$(ls "$work" | tr '\n' ' ')"
    echo "mode $mode: after the save $after, left: $left"
    if [ "$after" != "$mode" ] || [ "$saved" = 0 ] || [ "$left" != "set.wmx " ]; then
        echo "FAIL: mode $mode became $after (new data there: $saved, files: $left)"
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ]
