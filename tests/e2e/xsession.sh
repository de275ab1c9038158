# Sourced by the end-to-end, package and screenshot scripts: a private
# virtual X display with a window manager, and waiting for windows.

# Starts Xvfb on a free display (screen size in $1, default 1280x1024x24)
# and openbox on it; exports DISPLAY. Stopped by xsession_stop (also on EXIT).
xsession_start() {
    local geometry=${1:-1280x1024x24}
    local fifo
    XSESSION_DIR=$(mktemp -d)
    fifo="$XSESSION_DIR/displayfd"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp 3>"$fifo" >"$XSESSION_DIR/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local number
    read -r -t 20 number <"$fifo" || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$number"
    openbox --sm-disable >"$XSESSION_DIR/openbox.log" 2>&1 &
    OPENBOX_PID=$!
    # The window manager is up once it has announced its desktops.
    for _ in $(seq 100); do
        local desktops
        desktops=$(xdotool get_num_desktops 2>/dev/null) || desktops=0
        [ "${desktops:-0}" -gt 0 ] && break
        sleep 0.1
    done
    trap xsession_stop EXIT
}

xsession_stop() {
    [ -n "${OPENBOX_PID:-}" ] && kill "$OPENBOX_PID" 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    [ -n "${XSESSION_DIR:-}" ] && rm -rf "$XSESSION_DIR"
    OPENBOX_PID= XVFB_PID= XSESSION_DIR=
}

# Prints the id of the visible window whose title matches $1 (a regular
# expression), waiting up to $2 seconds (default 30); fails on timeout.
wait_window() {
    local pattern=$1 limit=${2:-30} id
    local end=$((SECONDS + limit))
    while [ $SECONDS -lt $end ]; do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | tail -1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    echo "no window titled '$pattern' within ${limit}s" >&2
    return 1
}

# Waits until no visible window matches $1.
wait_window_gone() {
    local pattern=$1 limit=${2:-30}
    local end=$((SECONDS + limit))
    while [ $SECONDS -lt $end ]; do
        xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    echo "window '$pattern' still there after ${limit}s" >&2
    return 1
}

# Focuses window $1 and types the xdotool key names that follow.
press() {
    local id=$1
    shift
    xdotool windowactivate --sync "$id" >/dev/null 2>&1 || xdotool windowfocus --sync "$id"
    xdotool key --delay 80 "$@"
}
