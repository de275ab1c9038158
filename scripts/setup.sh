#!/usr/bin/env bash
# Installs on Debian 12 what the named purposes need, and only what is
# missing. Needs root (or sudo) when something is missing.
#
#   setup.sh [--list] <purpose>...
#
#   run          build the panel and start it (xvfb-run when there is no display)
#   test         run's, plus the virtual display the end-to-end test drives and
#                the locales the digit control's tests run under
#   sanitizers   the build's and test's locales: the suites run offscreen, and
#                gcc's sanitizer runtimes come with g++
#   fuzz         the build's, plus clang with its libFuzzer and sanitizer runtimes
#   package      the build's and the virtual display, plus what CPack needs for
#                a .deb with computed dependencies and the desktop entry validator
#   real         the build's and the virtual display (scripts/test-real-drivers.sh)
#   benchmarks   the build's and the virtual display (benchmarks/run.sh)
#   screenshots  the build's, the virtual display and the accessibility bus,
#                plus ImageMagick's import
#   windows      the MinGW-w64 cross compiler, Qt's host tools (the build's
#                Qt), Wine, the virtual display, and what unpacks and checks
#                (scripts/test-windows.sh)
#   style        clang-format 14 and shellcheck (scripts/check-style.sh)
#
# --list prints the packages instead of installing them. ZR_SETUP_EXTRA adds
# packages of your own (blank-separated).
set -euo pipefail

# Compiler, CMake, Qt and the font every picture and test measurement assumes.
build=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core)
# A private X display with a window manager, driven by xdotool (scripts/xsession.sh).
display=(xvfb xdotool openbox)
# A decimal-comma locale and one whose numbers Qt writes in Arabic-Indic
# digits: the digit control must keep the C notation under both.
test_locales=(de_DE.UTF-8 ar_EG.UTF-8)
# For test and screenshots: the desktop's accessibility bus and registry, a
# private session bus (dbus-run-session) and Debian's python3 with pyatspi
# (tests/a11y, scripts/screenshots.py).
a11y=(at-spi2-core dbus-daemon python3-pyatspi)

usage() {
    sed -n '5,/^set /s/^# \{0,1\}//p' "$0" >&2
    exit 2
}

list=false
packages=()
locales=()
for purpose in "$@"; do
    case $purpose in
        --list) list=true ;;
        # xvfb-run needs xauth, which xvfb only recommends.
        run) packages+=("${build[@]}" xvfb xauth) ;;
        test)
            packages+=("${build[@]}" xvfb xauth "${display[@]}" "${a11y[@]}" locales)
            locales+=("${test_locales[@]}")
            ;;
        sanitizers)
            packages+=("${build[@]}" locales)
            locales+=("${test_locales[@]}")
            ;;
        fuzz) packages+=("${build[@]}" clang libclang-rt-14-dev) ;;
        # CPack stops without `file`; without dpkg-shlibdeps (dpkg-dev) it
        # quietly leaves the libraries out of the package's dependencies.
        package) packages+=("${build[@]}" "${display[@]}" file dpkg-dev desktop-file-utils) ;;
        real | benchmarks) packages+=("${build[@]}" "${display[@]}") ;;
        screenshots) packages+=("${build[@]}" "${display[@]}" "${a11y[@]}" imagemagick) ;;
        # Wine 8 runs 64-bit programs with wine64; wine brings the wine command.
        windows) packages+=("${build[@]}" "${display[@]}" g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
            wine64 wine xz-utils unzip python3) ;;
        # The formatter's version is pinned: another one formats differently.
        style) packages+=(clang-format-14 shellcheck git) ;;
        *)
            echo "setup.sh: unknown purpose '$purpose'" >&2
            usage
            ;;
    esac
done
[ ${#packages[@]} -gt 0 ] || usage
if [ -n "${ZR_SETUP_EXTRA:-}" ]; then
    read -r -a extra <<<"$ZR_SETUP_EXTRA"
    packages+=("${extra[@]}")
fi
mapfile -t packages < <(printf '%s\n' "${packages[@]}" | sort -u)

if $list; then
    echo "${packages[*]}"
    exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# `locale -a` spells de_DE.UTF-8 as de_DE.utf8.
ungenerated=()
for l in "${locales[@]}"; do
    locale -a | grep -ix "${l%%.*}.utf-\{0,1\}8" >/dev/null || ungenerated+=("$l")
done
if [ ${#ungenerated[@]} -gt 0 ]; then
    echo "Generating locales: ${ungenerated[*]}"
    for l in "${ungenerated[@]}"; do
        $sudo sed -i "s/^# *\($l UTF-8\)\$/\1/" /etc/locale.gen
        grep -qx "$l UTF-8" /etc/locale.gen || echo "$l UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    done
    $sudo locale-gen >/dev/null
fi
