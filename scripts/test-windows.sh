#!/usr/bin/env bash
# The panel as a 64-bit Windows program, checked on Linux. Cross-builds it
# with Debian's MinGW-w64 (cmake/toolchains/) against the Qt for Windows of
# ../shared/toolchains beside the clone, unpacked once into a cache folder
# outside the clone, into ${BUILD_DIR:-build-windows}, then:
#  1. the driver stand-ins export the ordinals of drivers/windows/*.def and no
#     name, and every program imports each driver operation by its ordinal
#     alone (tests/windows/imports.py), also the panel built for the vendors'
#     DLLs (ZR_USE_REAL_DRIVERS, in ${BUILD_DIR}-real), which links import
#     libraries made from the .def files; the executable's version resource;
#  2. CTest under Wine (scripts/wine.sh): every Qt Test suite offscreen, and
#     the end-to-end runs of zr7480sfp.exe with the windows platform plugin on
#     a virtual X display (tests/e2e/): Auto Find and a filter change, a fatal
#     driver status (exit code 1, its diagnostic on the debugger output), and
#     Enter Address with the address file under %ALLUSERSPROFILE% and, with
#     the variable unset, under c:\vxipnp, both in the Wine prefix;
#  3. the zip CPack makes, unpacked into a fresh Wine prefix with nothing else
#     in it, started and given up at the first box: exit code 0.
# ZR_QT_WINDOWS_TARBALL names another Qt for Windows tarball, ZR_CACHE_DIR
# the cache folder (default ${XDG_CACHE_HOME:-~/.cache}/zr7480sfp).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-windows}
bash "$root/scripts/setup.sh" windows

tarball=${ZR_QT_WINDOWS_TARBALL:-$root/../shared/toolchains/qt-6.4.2-mingw-w64-x86_64.tar.xz}
cache=${ZR_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/zr7480sfp}
[ -f "$tarball" ] || {
    echo "No Qt for Windows at $tarball (set ZR_QT_WINDOWS_TARBALL)" >&2
    exit 1
}
# One folder per tarball, named by its checksum; unpacked beside it and moved
# in place whole, so an interrupted unpack is never taken for a finished one.
qt=$cache/qt-windows-$(sha256sum "$tarball" | cut -c1-16)
if [ -d "$qt" ]; then
    echo "Qt for Windows: $qt (cached)"
else
    mkdir -p "$cache"
    unpacking=$(mktemp -d "$cache/unpacking.XXXXXX")
    tar -C "$unpacking" -xJf "$tarball"
    mv -T "$unpacking"/* "$qt"
    rmdir "$unpacking"
    echo "Qt for Windows: $qt (unpacked from $tarball)"
fi

windows=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$qt"
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
echo "Building for 64-bit Windows in $build"
BUILD_DIR=$build "$root/scripts/build.sh" "${windows[@]}" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine.sh" -DZR_BUILD_BENCHMARKS=OFF >/dev/null
# The VISA stand-in's import library stands for the vendor's.
echo "Building the panel for the vendors' DLLs in $build-real"
BUILD_DIR=$build-real BUILD_TARGETS=zr7480sfp "$root/scripts/build.sh" "${windows[@]}" -DZR_USE_REAL_DRIVERS=ON \
    -DZR_VISA_LIBRARY="$(find "$build" -name libvisa64.dll.a)" >/dev/null

echo "Driver DLLs and imports (drivers/windows/*.def):"
defs=()
for def in "$root"/drivers/windows/*.def; do defs+=(--def "$def"); done
python3 "$root/tests/windows/imports.py" "${defs[@]}" "$build"/bin/*.dll "$build"/bin/*.exe
echo "  with the vendors' DLLs:"
python3 "$root/tests/windows/imports.py" "${defs[@]}" "$build-real/bin/zr7480sfp.exe"

echo "Version resource of zr7480sfp.exe (windres):"
version=$(sed -n 's/^set(ZR_VERSION \(.*\))$/\1/p' "$root/cmake/ZrVersion.cmake")
description=$(sed -n 's/^set(ZR_DESCRIPTION "\(.*\)")$/\1/p' "$root/cmake/ZrVersion.cmake")
resource=$(x86_64-w64-mingw32-windres -i "$build/bin/zr7480sfp.exe" -O rc | sed 's/^ *//')
missing=0
numbers=${version//./, }
for line in "FILEVERSION $numbers" "PRODUCTVERSION $numbers" \
    "VALUE \"FileVersion\", \"$version\"" "VALUE \"ProductVersion\", \"$version\"" \
    "VALUE \"FileDescription\", \"$description\"" "VALUE \"ProductName\", \"$description\""; do
    if grep -qxF "$line" <<<"$resource"; then
        echo "  ok: $line"
    else
        echo "  FAILED: missing $line"
        missing=1
    fi
done
[ "$missing" -eq 0 ]

echo "The suite and the end-to-end runs under Wine:"
(cd "$build" && ctest --output-on-failure --parallel "$(nproc)" --timeout 600)

echo "The package, in a fresh Wine prefix:"
(cd "$build" && rm -f ./*.zip && cpack -G ZIP >/dev/null)
zip=$(ls "$build"/zr7480sfp-*-win64.zip)
echo "  $(basename "$zip"):"
unzip -l "$zip" | awk 'NR > 3 && $4 ~ /\// { print "    " $4 }'
fresh=$(mktemp -d)
export WINEPREFIX=$fresh/prefix
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$fresh"
}
trap cleanup EXIT
WINEDEBUG=-all wine wineboot --init 2>/dev/null
unzip -q "$zip" -d "$WINEPREFIX/drive_c"
exe=$(find "$WINEPREFIX/drive_c" -path '*/bin/zr7480sfp.exe')
env -u ZR_WINE_DLLS -u WINEPATH QT_QPA_PLATFORM=windows bash "$root/tests/e2e/giveup.sh" "$root/scripts/wine.sh" "$exe"
echo "windows: passed"
