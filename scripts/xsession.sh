# shellcheck shell=bash
# Sourced by the end-to-end test, the package test, the real-driver check,
# the screenshots and the benchmark: a private virtual X display with a
# window manager, and waits for windows. Every wait has a limit; on timeout
# it says what it waited for and fails.

# wait_until <seconds> <what> <command>...: runs the command every 0.1 s
# until it succeeds.
wait_until() {
    local limit=$1 what=$2
    shift 2
    local end=$((SECONDS + limit))
    until "$@"; do
        if [ $SECONDS -ge $end ]; then
            echo "$what: not within ${limit}s" >&2
            return 1
        fi
        sleep 0.1
    done
}

_xsession_answers() { xdotool getdisplaygeometry >/dev/null 2>&1; }
_xsession_managed() {
    local desktops
    desktops=$(xdotool get_num_desktops 2>/dev/null) || return 1
    [ "${desktops:-0}" -gt 0 ]
}

# Starts Xvfb on a free display (screen size in $1, default 1280x1024x24)
# and openbox on it; exports DISPLAY. Stopped by xsession_stop (also on EXIT).
xsession_start() {
    local geometry=${1:-1280x1024x24} number=""
    XSESSION_DIR=$(mktemp -d)
    trap xsession_stop EXIT
    mkfifo "$XSESSION_DIR/displayfd"
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp 3>"$XSESSION_DIR/displayfd" \
        >"$XSESSION_DIR/xvfb.log" 2>&1 &
    XVFB_PID=$!
    read -r -t 20 number <"$XSESSION_DIR/displayfd" || true
    if [ -z "$number" ]; then
        echo "Xvfb did not start:" >&2
        cat "$XSESSION_DIR/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=":$number"
    wait_until 20 "X server on $DISPLAY" _xsession_answers || return 1
    # Seen now and then on a busy machine: openbox gives up on a display that
    # already answers. It is started again, a few times at most.
    local _
    for _ in 1 2 3; do
        openbox --sm-disable >"$XSESSION_DIR/openbox.log" 2>&1 &
        OPENBOX_PID=$!
        wait_until 20 "window manager on $DISPLAY" _xsession_managed 2>/dev/null && return 0
        kill "$OPENBOX_PID" 2>/dev/null || true
        wait "$OPENBOX_PID" 2>/dev/null || true
    done
    echo "openbox did not start on $DISPLAY:" >&2
    cat "$XSESSION_DIR/openbox.log" >&2
    return 1
}

xsession_stop() {
    local pid
    for pid in ${OPENBOX_PID:-} ${XVFB_PID:-}; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in ${OPENBOX_PID:-} ${XVFB_PID:-}; do
        wait "$pid" 2>/dev/null || true
    done
    [ -n "${XSESSION_DIR:-}" ] && rm -rf "$XSESSION_DIR"
    OPENBOX_PID="" XVFB_PID="" XSESSION_DIR=""
}

# Prints the id of the visible window whose whole title is $1 (a regular
# expression, anchored here), waiting up to $2 seconds (default 30).
wait_window() {
    local pattern="^($1)\$" limit=${2:-30} id=""
    local end=$((SECONDS + limit))
    while :; do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | tail -1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        if [ $SECONDS -ge $end ]; then
            echo "no window titled '$1' within ${limit}s" >&2
            return 1
        fi
        sleep 0.1
    done
}

# Succeeds when window $1 is no longer shown.
window_closed() { ! xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1"; }

# Waits up to $2 seconds (default 30) until no visible window's whole title
# is $1.
wait_window_gone() {
    local pattern="^($1)\$" limit=${2:-30}
    local end=$((SECONDS + limit))
    while xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1; do
        if [ $SECONDS -ge $end ]; then
            echo "window '$1' still there after ${limit}s" >&2
            return 1
        fi
        sleep 0.1
    done
}

# Waits up to $2 seconds (default 30) until process $1 has ended, and
# returns its exit code; kills it and fails with 124 on timeout.
wait_exit() {
    local pid=$1 limit=${2:-30} status=0
    if ! wait_until "$limit" "end of process $pid" _xsession_gone "$pid"; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        return 124
    fi
    wait "$pid" || status=$?
    return $status
}
_xsession_gone() { ! kill -0 "$1" 2>/dev/null; }

# Gives window $1 the keyboard focus, waiting until it has it, and types the
# xdotool key names that follow.
press() {
    local id=$1
    shift
    xdotool windowactivate --sync "$id" >/dev/null 2>&1 || xdotool windowfocus --sync "$id"
    wait_until 10 "keyboard focus on window $id" _xsession_focused "$id" || return 1
    xdotool key --delay 80 "$@"
}
_xsession_focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
