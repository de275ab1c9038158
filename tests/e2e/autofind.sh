#!/usr/bin/env bash
# End to end, as a user: on a virtual X display with a window manager, start
# the panel on a bench with one 7480, choose Auto Find, change channel 1's
# filter, close the window and answer Yes; expect exit code 0 and the driver
# calls on the bench's call log.
# Usage: autofind.sh <zr7480sfp executable>
set -euo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
chmod 700 "$work"
cleanup() {
    xsession_stop
    rm -rf "$work"
}
# shellcheck source=xsession.sh
source "$here/xsession.sh"
xsession_start 1280x1024x24
trap cleanup EXIT

cat >"$work/bench.json" <<'JSON'
{"resources": [
  {"descriptor": "VXI0::3::INSTR", "interface": "VXI", "slot": 4,
   "carrier": {"modelId": 1987, "slots": [0, 0,
     {"id": "0x7480", "serial": "0x00c0ffee", "option": "AA", "revision": "1.0.2.0"}]}},
  {"descriptor": "ASRL1::INSTR"}
]}
JSON
export ZR_SIMBENCH_FILE=$work/bench.json ZR_SIMBENCH_LOG=$work/calls.log
export ALLUSERSPROFILE=$work XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb

"$exe" >"$work/out.txt" 2>"$work/err.txt" &
pid=$!

fail() {
    echo "FAIL: $*" >&2
    echo "--- stderr" >&2
    cat "$work/err.txt" >&2
    echo "--- call log" >&2
    cat "$work/calls.log" >&2 2>/dev/null || true
    kill "$pid" 2>/dev/null || true
    exit 1
}

box=$(wait_window "SFP: Select Function Card" 30) || fail "how-to-connect box not shown"
press "$box" Return # "Auto Find" is the default button
main=$(wait_window "^Tervix 7480 Soft Front Panel" 30) || fail "main window not shown"
sleep 0.5

# Open channel 1's filter box with the mouse (it sits at the top left of the
# Configuration page) and take the next filter with the keyboard.
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool mousemove --window "$main" 190 180 click 1
sleep 0.5
xdotool key --delay 100 Down Return
for _ in $(seq 50); do
    grep -q 'zr7480_configureChannel' "$work/calls.log" 2>/dev/null && break
    sleep 0.1
done
grep -q 'zr7480_configureChannel' "$work/calls.log" || fail "no channel configuration sent"

press "$main" alt+F4
question=$(wait_window "Tervix" 10) || fail "no exit question"
press "$question" Return
status=0
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit code $status, expected 0"

log=$work/calls.log
grep -q '^zr7480_init(.*) -> 0$' "$log" || fail "no successful init"
grep -Eq '^zr7480_configureChannel\(.*channel=1, filter=1,.* -> 0$' "$log" || fail "channel 1 not sent with filter 1"
grep -Eq '^zr7480_configureChannel\(.*channel=2, filter=0,.* -> 0$' "$log" || fail "channel 2 not sent after channel 1"
grep -q '^zr7480_close(' "$log" || fail "session not closed"
echo "PASS: Auto Find, filter change, close with Yes, exit code 0"
