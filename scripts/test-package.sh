#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine, validates the
# desktop entry, starts the installed program on a virtual display, gives up
# at the how-to-connect box (exit code 0 expected), and removes the package.
# Needs root (or sudo): it installs and removes a system package.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-package}
"$root/scripts/setup.sh" package
BUILD_DIR=$build BUILD_TYPE=Release "$root/scripts/build.sh" -DZR_BUILD_TESTS=OFF -DZR_BUILD_BENCHMARKS=OFF >/dev/null
(cd "$build" && rm -f ./*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/zr7480sfp_*.deb)
echo "package: $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Depends
# Computed by dpkg-shlibdeps from what the executable links.
dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' || { echo "package does not depend on Qt Widgets" >&2; exit 1; }

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y -qq "$deb" >/dev/null
trap '$sudo apt-get remove -y -qq zr7480sfp >/dev/null || true' EXIT

desktop-file-validate /usr/share/applications/zr7480sfp.desktop
echo "desktop entry: valid"
test -s /usr/share/icons/hicolor/48x48/apps/zr7480sfp.png
command -v zr7480sfp

QT_QPA_PLATFORM=xcb bash "$root/tests/e2e/giveup.sh" zr7480sfp
echo "installed program gave up cleanly with exit code 0"
