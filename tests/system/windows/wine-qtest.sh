#!/usr/bin/env bash
# Runs a Qt Test program of the Windows build under Wine; CTest's emulator
# for that build: wine-qtest.sh program.exe [argument...]
#
# Uses the Wine prefix in $WINEPREFIX, which tests/system/windows/test.sh makes;
# without one it makes a private prefix of its own in the build folder.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-prefix.sh"

if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX=$PWD/wine-prefix
    [ -f "$WINEPREFIX/system.reg" ] || make_wine_prefix "$WINEPREFIX"
fi
use_wine_prefix "$WINEPREFIX"

# Wine hands a Windows process no QT_* variable of the host's; it turns
# WINEQT_FOO into QT_FOO.
while IFS='=' read -r name value; do
    export "WINE$name=$value"
done < <(env | grep '^QT_' || true)

# Qt's offscreen platform on Windows reads fonts from one folder only.
if [ "${QT_QPA_PLATFORM:-}" = offscreen ]; then
    export WINEQT_QPA_FONTDIR=$(winepath -w "$WINEPREFIX/offscreen-fonts")
fi
# Under Wine a Qt Test program's log does not reach a pipe on its standard
# output, so it goes to a file that is printed afterwards.
log=$(mktemp "${TMPDIR:-/tmp}/dilmora-qtest.XXXXXX")
trap 'rm -f "$log"' EXIT
status=0
wine "$@" -o "$(winepath -w "$log"),txt" || status=$?
cat "$log"
exit "$status"
