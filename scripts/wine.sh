#!/usr/bin/env bash
# Runs a Windows program under Wine as the Windows checks need it: the
# Windows build's CMAKE_CROSSCOMPILING_EMULATOR (CTest runs each test
# executable through it) and the end-to-end run.
#
#   wine.sh <program.exe> [argument]...
#
# - Wine keeps the QT_* variables for Linux Qt programs; a Windows program
#   gets them only under a WINE prefix, so each QT_* is passed as WINEQT_*.
# - ZR_WINE_DLLS, a ':'-separated list of Linux folders (Qt's bin/, the
#   MinGW runtime), goes to the front of the DLL search path (WINEPATH).
# - WINEPREFIX is the caller's; WINEDEBUG defaults to -all (no Wine messages).
# - A Wine session (a prefix's wineserver and the processes it keeps for a
#   few seconds after the last program) opens windows on the X display it
#   started with, and none when it started without one (wineboot, the
#   offscreen suites): a program for a display (QT_QPA_PLATFORM not
#   offscreen, DISPLAY set) first waits until the prefix's earlier session
#   has ended.
# The exit code is the program's.
set -euo pipefail
for name in $(compgen -e); do
    if [[ $name == QT_* ]]; then export "WINE$name=${!name}"; fi
done
if [ -n "${ZR_WINE_DLLS:-}" ]; then
    export WINEPATH="${ZR_WINE_DLLS//:/;}${WINEPATH:+;$WINEPATH}"
fi
export WINEDEBUG=${WINEDEBUG:--all}
if [ -n "${DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
    wineserver -w
fi
exec wine "$@"
