# shellcheck shell=bash
# Sourced by the end-to-end tests, the package test, the real-driver check,
# the accessibility checks, the screenshots and the benchmarks: a private
# virtual X display with a window manager, the desktop's accessibility bus
# on it, and waits for windows. Every wait has a limit; on timeout it says
# what it waited for and fails. What it starts it stops on EXIT, before
# whatever the caller's EXIT trap does, which it keeps.

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

# Runs command $1 on EXIT before what the EXIT trap does so far (the last
# started is the first stopped), once.
_xsession_on_exit() {
    local added=$1 current command
    current=$(trap -p EXIT)
    # trap -p prints: trap -- '<command>' EXIT, quoted for the shell.
    eval "set -- $current"
    command=${3:-}
    case "; $command;" in
        *"; $added;"*) return 0 ;;
    esac
    # shellcheck disable=SC2064 # the commands are taken now, on purpose
    trap "$added${command:+; $command}" EXIT
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
    local geometry=${1:-1280x1024x24} _
    _xsession_on_exit xsession_stop
    # Seen now and then on a busy machine: openbox cannot open a display that
    # has already answered. Both are started again, on a fresh display, a few
    # times at most; what each said is printed.
    for _ in 1 2 3; do
        _xsession_start_once "$geometry" && return 0
        xsession_stop
    done
    return 1
}

_xsession_start_once() {
    local number=""
    XSESSION_DIR=$(mktemp -d)
    mkfifo "$XSESSION_DIR/displayfd"
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$XSESSION_DIR/displayfd" \
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
    openbox --sm-disable >"$XSESSION_DIR/openbox.log" 2>&1 &
    OPENBOX_PID=$!
    wait_until 20 "window manager on $DISPLAY" _xsession_managed 2>/dev/null && return 0
    echo "openbox did not start on $DISPLAY:" >&2
    cat "$XSESSION_DIR/openbox.log" >&2
    if kill -0 "$XVFB_PID" 2>/dev/null; then
        echo "Xvfb is running; it said:" >&2
    else
        echo "Xvfb has ended; it said:" >&2
    fi
    cat "$XSESSION_DIR/xvfb.log" >&2
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

# xsession_private_home <folder>: the programs started next keep their
# settings, address file, runtime files and Python caches to <folder>, and
# use the virtual display.
xsession_private_home() {
    export QT_QPA_PLATFORM=xcb
    export ALLUSERSPROFILE=$1 XDG_RUNTIME_DIR=$1 HOME=$1 XDG_CONFIG_HOME=$1/config
    export PYTHONDONTWRITEBYTECODE=1
}

# xsession_bus_run <log> <command>...: runs the command inside a private
# session bus, where at-spi2-core's accessibility bus and registry start
# when a program asks for them (pyatspi; Qt programs the command starts,
# which answer on the bus with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1: Qt 6.4
# does only while the desktop says a screen reader is on, or with it). The
# buses' output goes to <log>; the command's descriptor 3 is the caller's
# standard output. Returns the command's exit code; the buses, the registry
# and whatever the command started end with it (also on EXIT).
xsession_bus_run() {
    local log=$1 status=0
    shift
    _xsession_on_exit xsession_bus_stop
    # setsid: a process group of their own for the buses and the programs (a
    # background job of this non-interactive shell is no group leader, so
    # setsid does not fork and $! names the group).
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 setsid dbus-run-session -- "$@" 3>&1 >"$log" 2>&1 &
    XSESSION_BUS_GROUP=$!
    wait "$XSESSION_BUS_GROUP" || status=$?
    xsession_bus_stop
    return "$status"
}

# Ends the process group of xsession_bus_run: the session bus starts the
# accessibility bus's launcher, which starts that bus and its registry; they
# leave their parents but stay in the group.
xsession_bus_stop() {
    local group=${XSESSION_BUS_GROUP:-} _
    [ -n "$group" ] || return 0
    kill -TERM -- "-$group" 2>/dev/null || true
    for _ in {1..50}; do
        kill -0 -- "-$group" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL -- "-$group" 2>/dev/null || true
    XSESSION_BUS_GROUP=""
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
