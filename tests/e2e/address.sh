#!/usr/bin/env bash
# End to end, as a user at the keyboard (tests/e2e/panel.sh): choose Enter
# Address, type the card's descriptor and number, connect, close the window
# and answer Yes; expect exit code 0 and the address remembered in the
# address file: ZR_E2E_ADDRESS_FILE (a Linux path), by default the one under
# ALLUSERSPROFILE, which is the work folder here.
# Usage: address.sh <command>...: the command that starts the panel.
set -euo pipefail
# shellcheck source=tests/e2e/panel.sh
source "$(dirname "$0")/panel.sh"
file=${ZR_E2E_ADDRESS_FILE:-$ALLUSERSPROFILE/Halvar/DefaultInstrDescr.ini}
rm -f "$file"

panel_start "" "$@"
box=$(wait_window "Tervix 7480 SFP: Select Function Card" 30) || fail "how-to-connect box not shown"
press "$box" Tab Tab Return || fail "how-to-connect box took no key" # Enter Address, the third button
dialog=$(wait_window "Tervix 7480 SFP: Enter Function Card Address" 10) || fail "address dialog not shown"
# The dialog opens in the descriptor, its text selected, so typing replaces
# it; Tab reaches the card number, where Down three times takes FC 3; the
# next Tab reaches OK.
press "$dialog" V X I 0 colon colon 3 colon colon I N S T R Tab Down Down Down Tab space ||
    fail "address dialog took no key"
main=$(wait_window "Tervix 7480 Soft Front Panel" 30) || fail "main window not shown"
logged '^zr7480_init\(rsrcName="VXI0::3::INSTR", fcNumber=3,.* -> 0$' || fail "typed card not opened"
panel_close "$main"

[ -f "$file" ] || fail "no address file $file"
remembered() { tr -d '\r' <"$file" | grep -qx "$1"; }
remembered '1\.1\.Descriptor=VXI0::3::INSTR' || fail "descriptor not remembered in $file"
remembered '1\.FC_Number=3' || fail "card number not remembered in $file"
echo "PASS: Enter Address, close with Yes, exit code 0, the address remembered in $file"
