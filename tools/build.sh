#!/usr/bin/env bash
# Sets up a Debian 12 machine for Dilmora, builds it, and starts it or runs its tests.
#
#   bash tools/build.sh run    install what is missing, build, start the program
#   bash tools/build.sh test   install what is missing, build, run every test,
#                              the Windows build's under Wine included
#   bash tools/build.sh listen install what is missing, build, and listen to the
#                              program with the Orca screen reader (tools/orca-walk.py)
#
# Safe to run again: packages that are there are not installed again, and the
# build picks up where it left off.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source tools/install-missing.sh

usage() {
    echo "usage: bash tools/build.sh run|test|listen" >&2
    exit 2
}
[ $# -eq 1 ] || usage
command=$1

# What building and running needs; fonts-dejavu-core draws the Turkish
# letters, fonts-liberation stands in for Arial with the same metrics.
packages=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins libxcb1-dev fonts-dejavu-core fonts-liberation)
case "$command" in
    run) ;;
    # for the packaging and format checks; a desktop session with its
    # accessibility bus for the screen reader's events; the windows' frames
    # under an X11 window manager; the Wayland compositors; the release's:
    # hardening-check (devscripts), the SPDX licence ids that the SBOMs' check knows
    test) packages+=(binutils-mingw-w64-x86-64 desktop-file-utils appstream libxml2-utils lintian dpkg-dev file clang-format git
        xvfb xauth dbus at-spi2-core openbox xdotool wmctrl x11-utils x11-xserver-utils
        sway weston xwayland qt6-wayland wtype grim
        devscripts python3 node-spdx-license-ids node-spdx-exceptions) ;;
    # a private desktop session with Orca speaking into its log
    listen) packages+=(orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng at-spi2-core dbus-x11 xvfb openbox xdotool python3-pyatspi libao-common) ;;
    *) usage ;;
esac

install_missing "${packages[@]}"

jobs=$(nproc)
case "$command" in
    run)
        cmake --preset release >/dev/null
        cmake --build --preset release --target dilmora -j "$jobs"
        if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
            echo "Dilmora is built (build/release/dilmora), but there is no display to show it on." >&2
            echo "On a machine without a screen, run it under a virtual one:" >&2
            echo "    apt-get install xvfb xauth && xvfb-run -a bash tools/build.sh run" >&2
            exit 1
        fi
        # Outside a desktop session Qt wants a private runtime folder of its
        # own; it is removed again when the program ends.
        if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
            XDG_RUNTIME_DIR=$(mktemp -d)
            export XDG_RUNTIME_DIR
            trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
        fi
        build/release/dilmora &
        program=$!
        # Stopping this script stops the program (and then removes the folder).
        trap 'kill "$program" 2>/dev/null; wait "$program"' INT TERM HUP
        wait "$program"
        ;;
    test)
        # Every test twice: as built for debugging, then under the address,
        # undefined-behaviour and leak sanitizers, where any finding fails.
        for preset in test sanitize; do
            cmake --preset "$preset" >/dev/null
            cmake --build --preset "$preset" -j "$jobs"
            ctest --preset "$preset" -j "$jobs"
        done
        # Under Wayland compositors, sway and weston (tools/wayland-test.sh).
        bash tools/wayland-test.sh build/test/dilmora
        # Then the Windows build under Wine; the first time on a machine this
        # builds the static Qt for Windows (tools/windows/build-qt.sh).
        bash tools/windows/test.sh
        ;;
    listen)
        cmake --preset test >/dev/null
        cmake --build --preset test --target dilmora -j "$jobs"
        /usr/bin/python3 tools/orca-walk.py build/test/dilmora
        ;;
esac
