#!/usr/bin/env bash
# Installs everything the project builds, runs and tests with, by Debian package name: the
# 64-bit Windows side on every machine, the 32-bit Wine only where the machine runs 32-bit
# programs (scripts/runs-32bit.sh). Quick when all is already there.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"

packages=(
    cmake ninja-build g++ gcc-multilib googletest libgtest-dev clang libclang-rt-14-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine wine64 fonts-wine fonts-liberation locales xvfb xauth x11-utils imagemagick
    cups printer-driver-cups-pdf poppler-utils qpdf time stress-ng
    wixl msitools zip unzip
)

missing() {
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}

install() {
    echo "setup: installing $*"
    export DEBIAN_FRONTEND=noninteractive
    local log
    log="$(mktemp)"
    if ! { apt-get update -qq && apt-get install -y -qq -o DPkg::Lock::Timeout=600 "$@"; } \
        >"$log" 2>&1; then
        cat "$log"
        echo "setup: installing $* failed (above)" >&2
        exit 1
    fi
    rm -f "$log"
}

mapfile -t needed < <(missing "${packages[@]}")
[ ${#needed[@]} -eq 0 ] || install "${needed[@]}"

# gcc-multilib is in by now, so the check can build its 32-bit probe.
if answer="$("$here/runs-32bit.sh")"; then
    mapfile -t needed < <(missing wine32:i386)
    if [ ${#needed[@]} -ne 0 ]; then
        dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
        install "${needed[@]}"
    fi
else
    echo "setup: no 32-bit Wine: this machine runs no 32-bit program ($answer)"
fi
