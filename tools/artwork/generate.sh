#!/usr/bin/env bash
# Regenerates the pictures and the licence text of the resource bundles, and
# the desktop icons in packaging/icons/. The output is deterministic: running
# it again gives the same files.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${ARTWORK_BUILD_DIR:-$(mktemp -d)}
[ -n "${ARTWORK_BUILD_DIR:-}" ] || trap 'rm -rf "$build"' EXIT
# The generator is a target of the main project: it draws the desktop icons
# from the window icon of the resources module.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZR_BUILD_TESTS=OFF -DZR_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target make_artwork >/dev/null
QT_QPA_PLATFORM=offscreen "$build/tools/artwork/make_artwork" \
    "$root/zr6200/softfrontpanel_lib/resources" "$root/zr7480/softfrontpanel/resources" \
    "$root/packaging/icons/hicolor"

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
