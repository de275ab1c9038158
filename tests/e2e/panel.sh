# shellcheck shell=bash
# Sourced by the end-to-end scripts: a virtual X display with a window
# manager (scripts/xsession.sh), a private work folder, and the panel started
# there by the command the script was given (the executable, or a runner and
# the executable: scripts/wine.sh) on a bench with one 7480, in slot 3 of the
# VXI carrier VXI0::3::INSTR, with the bench's call log. Windows are found by
# their whole title, and every wait has a limit.
#
# QT_QPA_PLATFORM names the platform plugin: xcb unless it names one that
# draws on the display (the Windows build's tests give windows).

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=scripts/xsession.sh
source "$root/scripts/xsession.sh"
xsession_start 1280x1024x24
work=$(mktemp -d)
chmod 700 "$work"
pid=""
_panel_cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    xsession_stop
    rm -rf "$work"
}
trap _panel_cleanup EXIT

log=$work/calls.log
export ZR_SIMBENCH_FILE=$work/bench.json ZR_SIMBENCH_LOG=$log
export ALLUSERSPROFILE=$work XDG_RUNTIME_DIR=$work
[ "${QT_QPA_PLATFORM:-offscreen}" != offscreen ] || export QT_QPA_PLATFORM=xcb

fail() {
    echo "FAIL: $*" >&2
    echo "--- stderr" >&2
    cat "$work/err.txt" >&2
    echo "--- call log" >&2
    cat "$log" >&2 2>/dev/null || true
    exit 1
}
# The log is a text file: its lines end in \r\n on Windows.
logged() { tr -d '\r' 2>/dev/null <"$log" | grep -Eq "$1"; }

# panel_start <statuses> <command>...: starts the panel on a fresh bench and
# log, the bench forcing the statuses given (JSON members, may be empty);
# sets pid.
panel_start() {
    local statuses=$1
    shift
    cat >"$work/bench.json" <<JSON
{"statuses": {$statuses},
 "resources": [
  {"descriptor": "VXI0::3::INSTR", "interface": "VXI", "slot": 4,
   "carrier": {"modelId": 1987, "slots": [0, 0,
     {"id": "0x7480", "serial": "0x00c0ffee", "option": "AA", "revision": "1.0.2.0"}]}},
  {"descriptor": "ASRL1::INSTR"}
]}
JSON
    rm -f "$log"
    "$@" >"$work/out.txt" 2>"$work/err.txt" &
    pid=$!
}

# Waits for the panel to end, at most $1 seconds, and fails unless its exit
# code is $2.
panel_exit() {
    local status=0
    wait_exit "$pid" "$1" || status=$?
    pid=""
    [ "$status" -ne 124 ] || fail "program still running $1 s later"
    [ "$status" -eq "$2" ] || fail "exit code $status, expected $2"
}

# Closes the main window $1 as the user does and answers Yes; exit code 0.
panel_close() {
    press "$1" alt+F4 || fail "main window took no key"
    local question
    question=$(wait_window "Tervix  SFP" 10) || fail "no exit question"
    press "$question" Return || fail "exit question took no key" # Yes
    panel_exit 10 0
}
