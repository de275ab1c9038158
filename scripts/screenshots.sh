#!/usr/bin/env bash
# Takes the README's screenshots on a virtual display with a window manager:
# the how-to-connect box, the selection tree, both pages, the About dialog,
# and the Configuration page at scale factor 2. Needs a built tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" screenshots
exe=${1:-${BUILD_DIR:-$root/build}/zr7480/softfrontpanel/zr7480sfp}
out=$root/docs/images
mkdir -p "$out"
# shellcheck source=scripts/xsession.sh
source "$root/scripts/xsession.sh"
xsession_start 1280x1024x24
work=$(mktemp -d)
chmod 700 "$work"
export ALLUSERSPROFILE=$work XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb
shot() { sleep 0.7; import -window "$1" -frame "$out/$2.png"; }

# The default bench: several cards, so Auto Find shows the tree.
"$exe" 2>/dev/null &
pid=$!
box=$(wait_window "Tervix 7480 SFP: Select Function Card")
shot "$box" connect
press "$box" Return
# The selection dialog has the box's title: wait for the box to go first.
wait_until 10 "how-to-connect box closed" window_closed "$box"
tree=$(wait_window "Tervix 7480 SFP: Select Function Card")
shot "$tree" select
# A double click on the first selectable card chooses it.
xdotool mousemove --window "$tree" 90 91 click --repeat 2 --delay 80 1
# An LXI card: the title names its host.
main=$(wait_window "Tervix 7480 Soft Front Panel: fc-lab-01.example")
shot "$main" configuration
xdotool mousemove --window "$main" 187 118 click 1
shot "$main" status
xdotool mousemove --window "$main" 612 470 click 1
about=$(wait_window "About Tervix 7480 Soft Front Panel")
shot "$about" about
kill "$pid"
wait_exit "$pid" 10 || true

QT_SCALE_FACTOR=2 ZR_SIMBENCH_FILE=/nonexistent "$exe" 2>/dev/null &
pid=$!
box=$(wait_window "Tervix 7480 SFP: Select Function Card")
press "$box" Tab Return
main=$(wait_window "Tervix 7480 Soft Front Panel")
shot "$main" configuration-scale2
kill "$pid"
wait_exit "$pid" 10 || true
rm -rf "$work"
ls -l "$out"
