#!/usr/bin/env bash
# Observes what Qt's UI Automation provider in dilmora.exe gives a Windows
# screen reader, under Wine:
#
#   bash tests/system/windows/uia/run.sh build/windows/dilmora.exe
#
# Builds the stand-in UIAutomationCore.dll (uiautomationcore.c) and the probe
# that asks a window for its UI Automation root (uia-probe.c) with Debian's
# mingw-w64, makes a Wine prefix of its own with the stand-in in its system32
# (taken instead of Wine's own by a native DLL override for dilmora.exe
# only), and walks the program with uia-walk.py. Uses the caller's X screen
# ($DISPLAY), or starts an Xvfb of its own. The record of the walk is written
# to build/windows/uia-walk.txt.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
exe=$(realpath "$1")
transcript=$(dirname "$exe")/uia-walk.txt
source "$here/../../lib/scratch.sh" uia
source "$here/../../lib/desktop.sh"
source "$here/../wine-prefix.sh"

cc=x86_64-w64-mingw32-gcc-posix
$cc -O2 -Wall -Wextra -Werror -shared -o "$work/uiautomationcore.dll" "$here/uiautomationcore.c" -loleaut32 -lole32
$cc -O2 -Wall -Wextra -Werror -o "$work/uia-probe.exe" "$here/uia-probe.c" -lshell32

if [ -z "${DISPLAY:-}" ]; then start_wine_session; else start_wine_prefix; fi
cp "$work/uiautomationcore.dll" "$WINEPREFIX/drive_c/windows/system32/uiautomationcore.dll"
cp "$work/uia-probe.exe" "$WINEPREFIX/drive_c/"
cp "$exe" "$WINEPREFIX/drive_c/dilmora.exe"

DILMORA_PRODUCT_NAME=$product_name python3 "$here/uia-walk.py" 'C:\dilmora.exe' 'C:\uia-probe.exe' \
    "$WINEPREFIX/drive_c/uia-record.txt" --transcript "$transcript"
