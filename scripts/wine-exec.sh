#!/usr/bin/env bash
# Runs a Windows test executable in the project's Wine prefix (ctest's cross-compiling emulator).
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
wine "$@"
