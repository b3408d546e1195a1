#!/usr/bin/env bash
# Sets up a Debian 12 machine for Dilmora, builds it, and starts it or runs its tests.
#
#   bash tools/build.sh run    install what is missing, build, start the program
#   bash tools/build.sh test   install what is missing, build, run every test,
#                              the Windows build's under Wine included
#   bash tools/build.sh listen install what is missing, build, and listen to the
#                              program with the Orca screen reader (tests/system/screen-reader/orca-walk.py)
#
# Safe to run again: packages that are there are not installed again, and the
# build picks up where it left off.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source tools/lib/install-missing.sh

usage() {
    echo "usage: bash tools/build.sh run|test|listen" >&2
    exit 2
}
[ $# -eq 1 ] || usage
command=$1

# What each command needs: tools/lib/packages.list.
case "$command" in
    run) install_for build ;;
    test) install_for build test ;;
    listen) install_for build listen ;;
    *) usage ;;
esac

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
        # Every tool is installed now: a check that finds one missing fails
        # instead of reporting itself skipped.
        export DILMORA_REQUIRE_TOOLS=1
        # Every test twice: as built for debugging, then under the address,
        # undefined-behaviour and leak sanitizers, where any finding fails.
        for preset in test sanitize; do
            cmake --preset "$preset" >/dev/null
            cmake --build --preset "$preset" -j "$jobs"
            ctest --preset "$preset" -j "$jobs"
        done
        # The release made twice and compared, its SBOMs and hardening, and a
        # version bump (they build Dilmora three more times).
        cmake --preset release-tests >/dev/null
        ctest --preset release-tests
        # Under Wayland compositors, sway and weston (tests/system/wayland/run.sh).
        bash tests/system/wayland/run.sh build/test/dilmora
        # Then the Windows build under Wine; the first time on a machine this
        # builds the static Qt for Windows (tools/windows/build-qt.sh).
        bash tests/system/windows/test.sh
        ;;
    listen)
        cmake --preset test >/dev/null
        cmake --build --preset test --target dilmora -j "$jobs"
        DILMORA_PRODUCT_NAME=$(source build/test/identity.sh && echo "$product_name") \
            /usr/bin/python3 tests/system/screen-reader/orca-walk.py build/test/dilmora
        ;;
esac
