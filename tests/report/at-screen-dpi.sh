#!/usr/bin/env bash
# Runs a Windows program with the screen of the project's prefix set to DPI pixels per inch (the
# prefix's LogPixels, which a program reads when it starts), then takes the setting out again,
# so that the prefix is back at its default of 96. WMX_SCREEN_DPI tells the program.
# Usage: at-screen-dpi.sh DPI PROGRAM [ARGUMENTS...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
dpi="$1"
shift
key='HKCU\Control Panel\Desktop'
trap 'wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1 || true' EXIT
wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
WMX_SCREEN_DPI="$dpi" wine "$@"
