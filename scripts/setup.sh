#!/usr/bin/env bash
# Installs what building, running and testing the panel need on Debian 12,
# and only what is missing. Needs root (or sudo) when something is missing.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core
          xvfb xauth xdotool openbox imagemagick desktop-file-utils dpkg-dev file)
if [ "${ZR_SETUP_EXTRA:-}" != "" ]; then
    read -r -a extra <<< "$ZR_SETUP_EXTRA"
    packages+=("${extra[@]}")
fi
# The fuzz targets (scripts/fuzz.sh) are built with clang and its sanitizer runtimes.
packages+=(clang libclang-rt-14-dev)
# "setup.sh cross": the MinGW-w64 tools of the Windows cross check (scripts/test-windows-cross.sh).
if [ "${1:-}" = cross ]; then
    packages+=(gcc-mingw-w64-x86-64 binutils-mingw-w64-x86-64)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
