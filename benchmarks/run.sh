#!/usr/bin/env bash
# Prints the panel's performance figures in one run: start-up times, peak
# memory and idle CPU (on a virtual X display, as a user sees it), and the
# resource search figures. Builds a Release tree of its own first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-benchmarks}
"$root/scripts/setup.sh" benchmarks
BUILD_DIR=$build BUILD_TYPE=Release "$root/scripts/build.sh" -DZR_BUILD_TESTS=OFF -DZR_BUILD_BENCHMARKS=ON >/dev/null

echo "== machine"
echo "$(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo),"\
     "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "Qt $(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo '?'), $(uname -sr)"

settings=$(mktemp -d)
trap 'rm -rf "$settings"' EXIT
export ALLUSERSPROFILE=$settings XDG_RUNTIME_DIR=$settings
chmod 700 "$settings"

echo "== start-up (xcb on Xvfb with a window manager)"
# shellcheck source=scripts/xsession.sh
source "$root/scripts/xsession.sh"
xsession_start 1280x1024x24
QT_QPA_PLATFORM=xcb "$build/benchmarks/startup_benchmark"
xsession_stop

echo "== start-up (offscreen)"
QT_QPA_PLATFORM=offscreen "$build/benchmarks/startup_benchmark"

if [ -x "$build/benchmarks/search_benchmark" ]; then
    echo "== resource search"
    QT_QPA_PLATFORM=offscreen "$build/benchmarks/search_benchmark"
fi
