#!/usr/bin/env bash
# Installs everything the project builds, runs and tests with, by Debian package name.
# Quick when all is already there.
set -euo pipefail

packages=(
    cmake ninja-build g++ googletest libgtest-dev clang libclang-rt-14-dev
    g++-mingw-w64-i686-posix gcc-multilib
    wine wine32:i386 fonts-wine fonts-liberation locales xvfb xauth x11-utils imagemagick
    cups printer-driver-cups-pdf poppler-utils time
    wixl msitools zip unzip
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
apt-get update -qq
apt-get install -y -qq -o DPkg::Lock::Timeout=600 "${missing[@]}" >/dev/null
