#!/usr/bin/env bash
# End to end (tests/e2e/panel.sh): start the panel and answer the
# how-to-connect box with Cancel (Escape); expect exit code 0. The package
# checks run it on the installed program.
# Usage: giveup.sh <command>...: the command that starts the panel.
set -euo pipefail
# shellcheck source=tests/e2e/panel.sh
source "$(dirname "$0")/panel.sh"
panel_start "" "$@"
box=$(wait_window "Tervix 7480 SFP: Select Function Card" 60) || fail "how-to-connect box not shown"
press "$box" Escape || fail "how-to-connect box took no key"
panel_exit 30 0
echo "PASS: the how-to-connect box answered with Cancel, exit code 0"
