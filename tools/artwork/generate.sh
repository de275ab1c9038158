#!/usr/bin/env bash
# Regenerates the pictures and the licence text of the resource bundles.
# The output is deterministic: running it again gives the same files.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
cmake -S "$here" -B "$build" -G Ninja >/dev/null
cmake --build "$build" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/make_artwork" \
    "$root/zr6200/softfrontpanel_lib/resources" "$root/zr7480/softfrontpanel/resources"

licence="$root/zr6200/softfrontpanel_lib/resources/qt-lgpl-license.txt"
{
    printf '%s\n' \
        "This program uses the Qt toolkit, version 6, under the terms of the GNU" \
        "Lesser General Public License version 3. The Qt sources have not been" \
        "modified. The full text of that licence follows, then the text of the" \
        "GNU General Public License version 3, whose terms it incorporates." \
        ""
    cat /usr/share/common-licenses/LGPL-3
    printf '\n'
    cat /usr/share/common-licenses/GPL-3
} | sed 's/$/\r/' > "$licence"
