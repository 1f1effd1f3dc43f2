#!/usr/bin/env bash
# Carries the monkey's meter faults out beside the virtual meter, from the lines the monkey appends
# to a file: "cue late 4 500" goes to the meter on its line as CR "!late 4 500" CR (as the
# program's own tests send cues), "unplug" stops the meter and "plug" starts it again. It ends
# with the process that started it.
#   bench/monkey/meter-relay.sh FILE PORT      (PORT: com5..com8)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
file="$1" port="$2"
meter="$WMX_ROOT/scripts/virtual-meter.sh"
line="$WMX_PORTS/$port"
tail -n +1 -F --pid="$PPID" "$file" 2>/dev/null | while IFS= read -r request; do
    case "$request" in
    "cue "*)
        # Only through the meter's own link: with the meter unplugged the name leads nowhere, and
        # a write must not leave a plain file in its place.
        if [ -c "$line" ]; then
            printf '\r!%s\r' "${request#cue }" >"$line"
        else
            echo "relay: no meter for !${request#cue }"
        fi
        ;;
    unplug) "$meter" stop "$port" ;;
    plug) "$meter" start "$port" ;;
    *) echo "relay: unknown request: $request" ;;
    esac
done
