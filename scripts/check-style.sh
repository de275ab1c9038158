#!/usr/bin/env bash
# Checks what needs no build: every C and C++ file of the tree formatted as
# the root .clang-format says (Debian's clang-format 14), and every shell
# script clean under shellcheck. Names what fails; fixing a format is
# `clang-format-14 -i <file>`.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" style
cd "$root"

# The tree's files: tracked, or new and not ignored (no build folder).
mapfile -t files < <(git ls-files --cached --others --exclude-standard | sort -u)
sources=()
scripts=()
for f in "${files[@]}"; do
    [ -f "$f" ] || continue
    case $f in
        *.c | *.cpp | *.h) sources+=("$f") ;;
        *.sh) scripts+=("$f") ;;
        *) if head -n 1 "$f" | grep -Eq '^#!.*\b(ba)?sh\b'; then scripts+=("$f"); fi ;;
    esac
done

failed=0
echo "clang-format: ${#sources[@]} C and C++ files"
if ! clang-format-14 --dry-run -Werror "${sources[@]}"; then
    echo "clang-format: the files above differ from their format" >&2
    failed=1
fi
echo "shellcheck: ${#scripts[@]} scripts"
# -x follows the sourced helpers, named from the tree's root.
if ! shellcheck -x "${scripts[@]}"; then
    echo "shellcheck: the scripts above need a look" >&2
    failed=1
fi
[ "$failed" -eq 0 ] && echo "style: passed"
exit "$failed"
