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
group=""
# shellcheck disable=SC2317 # run by the EXIT trap
cleanup() {
    # The session bus starts the accessibility bus's launcher, which starts
    # that bus and its registry; they leave their parents but stay in the
    # process group made for them below.
    if [ -n "$group" ]; then
        kill -TERM -- "-$group" 2>/dev/null || true
        local _
        for _ in {1..50}; do
            kill -0 -- "-$group" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL -- "-$group" 2>/dev/null || true
    fi
    xsession_stop
    rm -rf "$work"
}
xsession_start 1280x1024x24
# After xsession_start, whose own EXIT trap this one replaces. Stopped from
# outside (CTest's timeout, ^C), the cleanup runs all the same.
trap cleanup EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

# Qt 6.4 answers on the accessibility bus only while the bus says a screen
# reader is on, or with this variable; the checks do not switch the
# desktop's settings.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
export ALLUSERSPROFILE=$work XDG_RUNTIME_DIR=$work HOME=$work XDG_CONFIG_HOME=$work/config
export PYTHONDONTWRITEBYTECODE=1 PYTHONPATH=$here

# setsid: a process group of their own for the buses and the program (a
# background job of this non-interactive shell is no group leader, so
# setsid does not fork and $! names the group).
setsid dbus-run-session -- /usr/bin/python3 "$here/a11y_check.py" "$check" "$exe" "$work" \
    3>&1 >"$work/bus.log" 2>&1 &
group=$!
status=0
wait "$group" || status=$?
# 1 is failed steps, reported already; anything else is the check's end.
if [ "$status" -gt 1 ]; then
    echo "FAIL: the check ended with status $status; the buses said:" >&2
    cat "$work/bus.log" >&2
fi
exit "$status"
