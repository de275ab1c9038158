#!/usr/bin/env bash
# The panel through the desktop's accessibility bus, as a screen reader
# reaches it: the real executable on a private virtual X display, inside a
# private session bus with at-spi2-core's accessibility bus and registry,
# driven only through that bus by a11y_check.py (Debian's python3 with
# pyatspi). Nothing is left running: the program, both buses, the
# registry and the display go on every way out.
# Usage: a11y.sh <operate|names> <zr7480sfp executable>
set -euo pipefail
check=$1
exe=$2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
# shellcheck source=scripts/xsession.sh
source "$root/scripts/xsession.sh"

work=$(mktemp -d)
chmod 700 "$work"
# shellcheck disable=SC2317 # run by the EXIT trap
cleanup() { rm -rf "$work"; }
# Stopped from outside (CTest's timeout, ^C), the cleanup runs all the same,
# after the buses, the program and the display are gone (xsession.sh).
trap cleanup EXIT
trap 'exit 143' TERM
trap 'exit 130' INT
xsession_start 1280x1024x24

# The checks do not switch the desktop's settings: xsession_bus_run has
# Qt answer on the accessibility bus all the same.
xsession_private_home "$work"
export PYTHONPATH=$here

status=0
xsession_bus_run "$work/bus.log" /usr/bin/python3 "$here/a11y_check.py" "$check" "$exe" "$work" || status=$?
# 1 is failed steps, reported already; anything else is the check's end.
if [ "$status" -gt 1 ]; then
    echo "FAIL: the check ended with status $status; the buses said:" >&2
    cat "$work/bus.log" >&2
fi
exit "$status"
