#!/usr/bin/env bash
# End to end, as a user at the keyboard (tests/e2e/panel.sh): choose Auto
# Find, change channel 1's filter, close the window and answer Yes; expect
# exit code 0 and the driver calls on the bench's call log. Then the same
# with a driver that refuses the channel's configuration: the panel ends with
# exit code 1 after its diagnostic.
# Usage: autofind.sh <command>...: the command that starts the panel.
# ZR_E2E_DIAGNOSTICS=debugger: the diagnostic is expected on the debugger
# output, where Qt sends it on Windows; Wine 8 prints what reaches it on its
# standard error with WINEDEBUG=warn+debugstr,warn+seh (Qt's wide-character
# lines only under seh). Otherwise it is expected on standard error.
set -euo pipefail
# shellcheck source=tests/e2e/panel.sh
source "$(dirname "$0")/panel.sh"

# Up to channel 1's new filter: Auto Find is the how-to-connect box's default
# button. The window starts with the focus on the page tabs; one Tab reaches
# channel 1's filter box, the Configuration page's first control. Down takes
# the next filter, as the user's choice. Sets main.
choose_filter() {
    local box
    box=$(wait_window "Tervix 7480 SFP: Select Function Card" 30) || fail "how-to-connect box not shown"
    press "$box" Return || fail "how-to-connect box took no key"
    main=$(wait_window "Tervix 7480 Soft Front Panel" 30) || fail "main window not shown"
    logged '^zr7480_configure' && fail "configuration sent before any change"
    press "$main" Tab Down || fail "main window took no key"
}

panel_start "" "$@"
choose_filter
wait_until 10 "channel configuration" logged '^zr7480_configureChannel' || fail "no channel configuration sent"
panel_close "$main"
logged '^zr7480_init\(.*\) -> 0$' || fail "no successful init"
logged '^zr7480_configureChannel\(.*channel=1, filter=1,.* -> 0$' || fail "channel 1 not sent with filter 1"
logged '^zr7480_configureChannel\(.*channel=2, filter=0,.* -> 0$' || fail "channel 2 not sent after channel 1"
logged '^zr7480_close\(' || fail "session not closed"
echo "PASS: Auto Find, filter change, close with Yes, exit code 0"

# VI_ERROR_PARAMETER3, whose text the driver gives.
panel_start '"zr7480_configureChannel": "0xBFFC0003"' "$@"
choose_filter
panel_exit 10 1
logged '^zr7480_configureChannel\(.*channel=1, filter=1,.* -> -1074003965$' || fail "channel 1 not refused"
logged '^zr7480_configureChannel\(.*channel=2' && fail "channel 2 sent after the fatal status"
diagnostic="Operation failed due to [Parameter 3 out of range"
if [ "${ZR_E2E_DIAGNOSTICS:-stderr}" = debugger ]; then
    grep -aE ':OutputDebugString[AW] ' "$work/err.txt" | grep -Fq "$diagnostic" ||
        fail "no \"$diagnostic\" on the debugger output"
else
    grep -aFq "$diagnostic" "$work/err.txt" || fail "no \"$diagnostic\" on stderr"
fi
echo "PASS: a fatal driver status ends the panel with exit code 1 after its diagnostic (${ZR_E2E_DIAGNOSTICS:-stderr})"
