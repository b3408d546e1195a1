#!/usr/bin/env bash
# Observes what Qt's UI Automation provider in dilmora.exe gives a Windows
# screen reader, under Wine:
#
#   bash tests/system/windows/uia/run.sh build/windows/dilmora.exe
#
# Builds the stand-in UIAutomationCore.dll (uiautomationcore.c) and the probe
# that asks a window for its UI Automation root (uia-probe.c) with Debian's
# mingw-w64, makes a Wine prefix of its own in a temporary folder with the
# stand-in in its system32 (taken instead of Wine's own by a native DLL
# override for dilmora.exe only), and walks the program with uia-walk.py.
# Uses the caller's X screen ($DISPLAY), or starts an Xvfb of its own. Ends
# what it started by process id, the prefix's Wine processes, and removes the
# folder. The record of the walk is written to build/windows/uia-walk.txt.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
exe=$(realpath "$1")
transcript=$(dirname "$exe")/uia-walk.txt
work=$(mktemp -d "${TMPDIR:-/tmp}/dilmora-uia.XXXXXX")
screen=
end() {
    [ ! -f "$work/prefix/system.reg" ] || WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
    if [ -n "$screen" ]; then kill "$screen" 2>/dev/null || true; wait "$screen" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap end EXIT

cc=x86_64-w64-mingw32-gcc-posix
$cc -O2 -Wall -Wextra -Werror -shared -o "$work/uiautomationcore.dll" "$here/uiautomationcore.c" -loleaut32 -lole32
$cc -O2 -Wall -Wextra -Werror -o "$work/uia-probe.exe" "$here/uia-probe.c" -lshell32

if [ -z "${DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    screen=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=:$(cat "$work/display")
fi

# A 64-bit prefix of its own, quiet, without Mono and Gecko prompts or menu
# entries written into this machine's home folder.
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
wine wineboot -i >/dev/null 2>&1
wineserver -w
ln -sf /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
cp "$work/uiautomationcore.dll" "$WINEPREFIX/drive_c/windows/system32/uiautomationcore.dll"
cp "$work/uia-probe.exe" "$WINEPREFIX/drive_c/"
cp "$exe" "$WINEPREFIX/drive_c/dilmora.exe"

python3 "$here/uia-walk.py" 'C:\dilmora.exe' 'C:\uia-probe.exe' "$WINEPREFIX/drive_c/uia-record.txt" \
    --transcript "$transcript"
