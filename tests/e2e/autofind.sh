#!/usr/bin/env bash
# End to end, as a user at the keyboard: on a virtual X display with a window
# manager, start the panel on a bench with one 7480, choose Auto Find, change
# channel 1's filter, close the window and answer Yes; expect exit code 0 and
# the driver calls on the bench's call log. Windows are found by their whole
# title, and every wait has a limit.
# Usage: autofind.sh <zr7480sfp executable>
set -euo pipefail
exe=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=scripts/xsession.sh
source "$root/scripts/xsession.sh"
xsession_start 1280x1024x24
work=$(mktemp -d)
chmod 700 "$work"
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    xsession_stop
    rm -rf "$work"
}
trap cleanup EXIT

cat >"$work/bench.json" <<'JSON'
{"resources": [
  {"descriptor": "VXI0::3::INSTR", "interface": "VXI", "slot": 4,
   "carrier": {"modelId": 1987, "slots": [0, 0,
     {"id": "0x7480", "serial": "0x00c0ffee", "option": "AA", "revision": "1.0.2.0"}]}},
  {"descriptor": "ASRL1::INSTR"}
]}
JSON
log=$work/calls.log
export ZR_SIMBENCH_FILE=$work/bench.json ZR_SIMBENCH_LOG=$log
export ALLUSERSPROFILE=$work XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb

fail() {
    echo "FAIL: $*" >&2
    echo "--- stderr" >&2
    cat "$work/err.txt" >&2
    echo "--- call log" >&2
    cat "$log" >&2 2>/dev/null || true
    exit 1
}
logged() { grep -Eq "$1" "$log" 2>/dev/null; }

"$exe" >"$work/out.txt" 2>"$work/err.txt" &
pid=$!

box=$(wait_window "Tervix 7480 SFP: Select Function Card" 30) || fail "how-to-connect box not shown"
press "$box" Return || fail "how-to-connect box took no key" # "Auto Find" is the default button
main=$(wait_window "Tervix 7480 Soft Front Panel" 30) || fail "main window not shown"
logged '^zr7480_configure' && fail "configuration sent before any change"

# The window starts with the focus on the frame's first button (Reset
# Device); Tab passes "?", About, Close and the page tabs and reaches channel
# 1's filter box, the Configuration page's first control. Down takes the next
# filter, as the user's choice.
press "$main" Tab Tab Tab Tab Tab Down || fail "main window took no key"
wait_until 10 "channel configuration" logged '^zr7480_configureChannel' || fail "no channel configuration sent"

press "$main" alt+F4 || fail "main window took no key"
question=$(wait_window "Tervix  SFP" 10) || fail "no exit question"
press "$question" Return || fail "exit question took no key" # Yes
status=0
wait_exit "$pid" 10 || status=$?
pid=""
[ "$status" -ne 124 ] || fail "program still running 10 s after Yes"
[ "$status" -eq 0 ] || fail "exit code $status, expected 0"

logged '^zr7480_init\(.*\) -> 0$' || fail "no successful init"
logged '^zr7480_configureChannel\(.*channel=1, filter=1,.* -> 0$' || fail "channel 1 not sent with filter 1"
logged '^zr7480_configureChannel\(.*channel=2, filter=0,.* -> 0$' || fail "channel 2 not sent after channel 1"
logged '^zr7480_close\(' || fail "session not closed"
echo "PASS: Auto Find, filter change, close with Yes, exit code 0"
