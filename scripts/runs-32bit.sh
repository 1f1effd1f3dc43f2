#!/usr/bin/env bash
# Says whether this machine runs 32-bit programs (some kernels run none, so no 32-bit Wine): it
# builds a tiny program with -m32 and runs it. Prints "yes", or "no" and why; exits 0 for yes.
# WMX_32BIT=no (or yes) in the environment answers without trying, for a run that must not use
# the 32-bit side.
set -uo pipefail
case "${WMX_32BIT:-}" in
no)
    echo "no: WMX_32BIT=no says so"
    exit 1
    ;;
yes)
    echo "yes: WMX_32BIT=yes says so"
    exit 0
    ;;
esac
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
echo 'int main(void) { return 0; }' >"$work/probe.c"
if ! out="$(gcc -m32 "$work/probe.c" -o "$work/probe" 2>&1)"; then
    echo "no: gcc -m32 cannot build a 32-bit program: ${out//$'\n'/ }"
    exit 1
fi
if ! out="$("$work/probe" 2>&1)"; then
    echo "no: a 32-bit program does not run here (${out##*/probe: })"
    exit 1
fi
echo "yes"
