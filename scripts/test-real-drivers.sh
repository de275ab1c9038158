#!/usr/bin/env bash
# Builds the panel with ZR_USE_REAL_DRIVERS=ON, as on a machine with the
# vendors' libraries: the stand-ins are built alone and installed into a
# prefix of their own, laid out as vendors ship them (headers and shared
# libraries in visa/ and tervix/), and the panel is configured against that
# prefix through the cache variables only, without tests or benchmarks.
# Then it checks that the build defines nothing of the simulated bench, that
# the compiler read the installed visa.h and that the executable loads the
# installed libraries, and runs the end-to-end test with it: Auto Find, a
# filter change, close with Yes, exit code 0.
# Folders: ${VENDOR_DIR:-build-vendor} (stand-ins' build and prefix),
# ${BUILD_DIR:-build-real} (the panel).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" real
vendor_dir=${VENDOR_DIR:-$root/build-vendor}
prefix=$vendor_dir/prefix
build=${BUILD_DIR:-$root/build-real}

echo "== stand-ins, installed as vendors' libraries into $prefix"
BUILD_DIR=$vendor_dir/build BUILD_TARGETS="visa_standin zr6200_64 zr7480_64" \
    "$root/scripts/build.sh" -DZR_BUILD_TESTS=OFF -DZR_BUILD_BENCHMARKS=OFF >/dev/null
rm -rf "$prefix"
cmake --install "$vendor_dir/build" --component simvendor --prefix "$prefix" >/dev/null
(cd "$prefix" && find . -type f | sort | sed 's/^/  /')

echo "== panel with ZR_USE_REAL_DRIVERS=ON in $build"
# --fresh: the libraries found in an earlier run stay in the cache otherwise.
BUILD_DIR=$build BUILD_TARGETS=zr7480sfp "$root/scripts/build.sh" --fresh \
    -DZR_USE_REAL_DRIVERS=ON -DZR_BUILD_TESTS=OFF -DZR_BUILD_BENCHMARKS=OFF \
    -DZR_VISA_INCLUDE_DIR="$prefix/visa/include" -DZR_VISA_LIBRARY_DIR="$prefix/visa/lib" \
    -DZR_DRIVER_LIBRARY_DIR="$prefix/tervix/lib" >/dev/null
exe=$build/zr7480/softfrontpanel/zr7480sfp

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
if cmake --build "$build" --target help | grep -Eq 'visa_standin|zr6200_64|zr7480_64|simbench'; then
    fail "the real-library build defines a stand-in or bench target"
fi
echo "  no stand-in or bench target in the build"
# What the compiler read, from Ninja's record of each object's headers.
deps=$(ninja -C "$build" -t deps)
grep -q "$prefix/visa/include/visa.h" <<<"$deps" || fail "visa.h not taken from $prefix/visa/include"
! grep -q "$root/drivers/include/visa.h" <<<"$deps" || fail "the tree's visa.h was compiled in"
echo "  visa.h from $prefix/visa/include"
for lib in visa/lib/libvisa.so tervix/lib/libzr6200_64.so tervix/lib/libzr7480_64.so; do
    name=$(basename "$lib")
    found=$(ldd "$exe" | awk -v n="$name" '$1 == n { print $3 }')
    [ "$found" = "$prefix/$lib" ] || fail "$name resolves to '${found:-nothing}', expected $prefix/$lib"
    echo "  $name => $found"
done

echo "== end to end with the installed libraries"
bash "$root/tests/e2e/autofind.sh" "$exe"
