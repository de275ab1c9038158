#!/usr/bin/env bash
# Installs what is missing, builds, and starts the panel on the simulated
# bench. Without a display it starts a virtual one and tells how to look.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" run
"$root/scripts/build.sh"
exe="${BUILD_DIR:-$root/build}/zr7480/softfrontpanel/zr7480sfp"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$exe" "$@"
fi
echo "No display found: starting the panel on a virtual X display (Xvfb)."
echo "To see it, run this command from a desktop session, or use 'xvfb-run -a $exe' with a VNC viewer."
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$exe" "$@"
