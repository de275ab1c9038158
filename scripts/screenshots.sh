#!/usr/bin/env bash
# Takes the README's screenshots on a virtual display with a window manager:
# the how-to-connect box, the selection tree, both pages, the About dialog,
# and the Configuration page at scale factor 2 (scripts/screenshots.py,
# which reaches the panel through the accessibility bus). Needs a built tree.
# Usage: screenshots.sh [zr7480sfp executable]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" screenshots
exe=${1:-${BUILD_DIR:-$root/build}/zr7480/softfrontpanel/zr7480sfp}
out=$root/docs/images
mkdir -p "$out"
work=$(mktemp -d)
chmod 700 "$work"
trap 'rm -rf "$work"' EXIT
# shellcheck source=scripts/xsession.sh
source "$root/scripts/xsession.sh"
# Large enough for the main window at scale factor 2.
xsession_start 1920x1200x24

xsession_private_home "$work"
status=0
xsession_bus_run "$work/bus.log" /usr/bin/python3 "$root/scripts/screenshots.py" "$exe" "$out" "$work" || status=$?
if [ "$status" -ne 0 ]; then
    echo "screenshots: failed; the buses said:" >&2
    cat "$work/bus.log" >&2
    exit "$status"
fi
ls -l "$out"
