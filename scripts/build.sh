#!/usr/bin/env bash
# Configures and builds into ${BUILD_DIR:-build}; extra arguments go to CMake.
# BUILD_TARGETS (blank-separated) limits the build to those targets;
# ZR_WERROR=ON in the environment turns warnings into errors (CI does).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
    -DZR_WERROR="${ZR_WERROR:-OFF}" "$@" >/dev/null
targets=()
for t in ${BUILD_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build" --parallel "$(nproc)" "${targets[@]}"
