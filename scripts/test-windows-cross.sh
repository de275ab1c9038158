#!/usr/bin/env bash
# Checks on Linux, with Debian's MinGW-w64 cross tools, what the Windows build
# does without Qt (tools/windows-check, built with the build's own CMake
# functions): the import libraries of the two driver DLLs made from the .def
# files; a program calling every driver operation the panel uses, linked
# against them, importing each from the right DLL by the right ordinal and by
# no name; the executable's version resource. Builds in
# ${BUILD_DIR:-build-windows-cross}; exits non-zero on any mismatch.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-windows-cross}
bash "$root/scripts/setup.sh" cross

# What the panel's executable must carry.
version=4.3.1.10252
description="Tervix 7480 2-Channel Filter/Sync FC - Soft Front Panel"

tools=x86_64-w64-mingw32-
check=$root/tools/windows-check
passed=0
failed=0
ok() {
    echo "  ok: $*"
    passed=$((passed + 1))
}
bad() {
    echo "  FAILED: $*"
    failed=$((failed + 1))
}

echo "Building tools/windows-check for 64-bit Windows in $build"
cmake -S "$check" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$check/mingw-w64-x86_64.cmake" >/dev/null
log=$(cmake --build "$build" --clean-first --verbose)
echo "Import libraries, made as the Windows build makes them with MinGW:"
made=$(grep -o '[^ ]*dlltool .*' <<<"$log" || true)
for def in zr6200_64.def zr7480_64.def; do
    line=$(grep -F "/$def " <<<"$made" || true)
    if [ -n "$line" ]; then
        ok "$line"
    else
        bad "no import library made from $def"
    fi
done

exe=$build/driver_imports.exe
# Every import from the two driver DLLs: DLL, IAT slot (RVA, hex), lookup
# entry (hex), hint or ordinal, name ("<none>" when imported by ordinal).
imports=$("${tools}objdump" -p "$exe" | awk '
    /^ [0-9a-f]/ && NF == 6 { thunk = $6 }
    /DLL Name:/ { dll = $3; index_ = 0; next }
    /^\t[0-9a-f]/ && (dll == "zr6200_64.dll" || dll == "zr7480_64.dll") {
        print dll, thunk, index_, $1, $2, $3
    }
    /^\t[0-9a-f]/ { index_++ }')
declare -A slotDll slotEntry slotName
count=0
while read -r dll thunk index entry _ name; do
    [ -n "$dll" ] || continue
    slot=$((16#$thunk + 8 * index))
    slotDll[$slot]=$dll
    slotEntry[$slot]=$entry
    slotName[$slot]=$name
    count=$((count + 1))
done <<<"$imports"
imageBase=$("${tools}objdump" -p "$exe" | awk '$1 == "ImageBase" { print $2 }')
declare -A iat
while read -r address _ symbol; do
    iat[${symbol#__imp_}]=$((16#$address - 16#$imageBase))
done < <("${tools}nm" "$exe" | awk '$3 ~ /^__imp_/')

# The calls of the program, each with the DLL and ordinal it names.
calls=$(tr -s '[:space:]' ' ' <"$check/driver_imports.c" |
    grep -o 'IMPORTED("[^"]*", *[0-9]*, *[A-Za-z_0-9]*(' |
    sed -E 's/IMPORTED\("([^"]*)", *([0-9]*), *([A-Za-z_0-9]*)\(/\3 \1 \2/' || true)

echo "Every operation declared in drivers/include/zr7480.h and zr6200.h is called by driver_imports.c:"
for header in zr7480.h zr6200.h; do
    for operation in $(grep -o '^ViStatus [A-Za-z_0-9]*(' "$root/drivers/include/$header" | sed 's/^ViStatus //; s/($//'); do
        if grep -q "^$operation " <<<"$calls"; then
            ok "$operation"
        else
            bad "$operation ($header) is not called"
        fi
    done
done

echo "Each call is imported from the DLL and by the ordinal it names, and by no name (objdump -p, nm):"
labelled=0
while read -r operation dll ordinal; do
    [ -n "$operation" ] || continue
    labelled=$((labelled + 1))
    slot=${iat[$operation]:-}
    if [ -z "$slot" ] || [ -z "${slotDll[$slot]:-}" ]; then
        bad "$operation: not imported from zr6200_64.dll or zr7480_64.dll"
        continue
    fi
    entry=${slotEntry[$slot]}
    if [[ ! $entry =~ ^8[0-9a-f]{15}$ ]] || [ "${slotName[$slot]}" != "<none>" ]; then
        bad "$operation: imported from ${slotDll[$slot]} by the name ${slotName[$slot]}, not by ordinal"
        continue
    fi
    actual=$((16#$entry & 0xffff))
    if [ "${slotDll[$slot]}" = "$dll" ] && [ "$actual" -eq "$ordinal" ]; then
        ok "$operation: $dll ordinal $ordinal"
    else
        bad "$operation: imported from ${slotDll[$slot]} by ordinal $actual, expected $dll ordinal $ordinal"
    fi
done <<<"$calls"
if [ "$count" -eq "$labelled" ]; then
    ok "the two DLLs give $count imports, one for each call"
else
    bad "the two DLLs give $count imports for $labelled calls"
fi

echo "Version resource (packaging/zr7480sfp.rc.in as configured by the build, compiled with windres):"
resource=$("${tools}windres" -i "$build/version_resource.exe" -O rc)
numbers=${version//./, }
for line in "FILEVERSION $numbers" "PRODUCTVERSION $numbers" \
    "VALUE \"FileVersion\", \"$version\"" "VALUE \"ProductVersion\", \"$version\"" \
    "VALUE \"FileDescription\", \"$description\"" "VALUE \"ProductName\", \"$description\""; do
    if grep -qxF "$line" < <(sed 's/^ *//' <<<"$resource"); then
        ok "$line"
    else
        bad "missing: $line"
    fi
done

echo "windows-cross: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
