#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite with CTest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" test
"$root/scripts/build.sh"
cd "${BUILD_DIR:-$root/build}"
# Each test's platform (offscreen, or a display for the end-to-end runs)
# is its own CTest property (tests/CMakeLists.txt).
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
