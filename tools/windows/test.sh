#!/usr/bin/env bash
# Tests Dilmora for Windows under Wine, on a virtual X screen:
#
#   bash tools/windows/test.sh
#
# Builds the .exe, the installer and the test programs (tools/windows/build.sh),
# then, in a private Wine prefix made in a temporary folder:
#   1. runs the Qt Test programs as Windows executables;
#   2. reads the version record, icon, manifest and imports back from dilmora.exe;
#   3. installs silently and checks the files, the shortcut and Apps & Features;
#   4. starts the installed program, opens and closes each of the five windows
#      from the menu bar with the keyboard, and writes screenshots to
#      build/windows/screenshots/;
#   5. uninstalls silently and checks that nothing of Dilmora is left.
# Any failing step fails the script.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
source tools/install-missing.sh
source tools/windows/common.sh
source tools/windows/wine-prefix.sh

install_missing "${windows_test_packages[@]}"
bash tools/windows/build.sh >/dev/null
cmake --build --preset windows -j "$(nproc)"

build=$PWD/build/windows
source "$build/identity.sh"   # product_name, internal_name, version_string, ...
exe=$build/dilmora.exe
installer=$(ls "$build"/Dilmora-*-setup.exe)
shots=$build/screenshots
mkdir -p "$shots"

step() { echo "== Windows: $*" >&2; current_step=$*; }
fail() { echo "Windows: FAILED while: ${current_step:-starting}: $*" >&2; exit 1; }
trap 'fail "command failed (line $LINENO)"' ERR

# Everything this script starts is ended by its process id when it stops.
step "starting a virtual screen and a private Wine prefix"
work=$(mktemp -d "${TMPDIR:-/tmp}/dilmora-wine.XXXXXX")
start_wine_session "$work"

step "running the test programs under Wine"
ctest --preset windows

step "reading the resources back from dilmora.exe"
wrestool -x --type=group_icon "$exe" >"$work/icon.ico"
# wrestool rebuilds the icon file from the resources: the same bytes, then
# the zeros that pad the last image's resource.
size=$(stat -c %s app/assets/dilmora.ico)
cmp -n "$size" "$work/icon.ico" app/assets/dilmora.ico || fail "the icon differs from app/assets/dilmora.ico"
[ -z "$(tail -c +$((size + 1)) "$work/icon.ico" | tr -d '\0')" ] || fail "the icon has more images than app/assets/dilmora.ico"
wrestool -x --raw --type=version "$exe" | strings -el >"$work/version"
for pair in "ProductName=$product_name" "InternalName=$internal_name" \
    "FileVersion=$version_string" "ProductVersion=$version_string" "OriginalFilename=dilmora.exe"; do
    grep -qxF "${pair%%=*}" "$work/version" && grep -A1 -xF "${pair%%=*}" "$work/version" |
        tail -1 | grep -qxF "${pair#*=}" || fail "version record: no $pair"
done
wrestool -x --raw --type=24 "$exe" | grep -q 'PerMonitorV2' || fail "no manifest with per-monitor DPI awareness"
# Only DLLs of Windows itself: no Qt, C++ runtime or thread library beside it.
x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' >"$work/imports"
if grep -viE '^(kernel32|user32|shcore|gdi32|shell32|ole32|oleaut32|advapi32|comdlg32|imm32|winmm|ws2_32|uxtheme|dwmapi|version|shlwapi|setupapi|netapi32|userenv|wtsapi32|d3d9|d3d11|dxgi|dwrite|d2d1|authz|mpr|msvcrt|rpcrt4|crypt32|bcrypt|api-ms-win-[a-z0-9-]+)\.dll$' "$work/imports"; then
    fail "dilmora.exe imports DLLs that Windows does not have"
fi

step "installing silently"
wine "$installer" /S
wineserver -w
program_files=$work/prefix/drive_c/Program\ Files/Dilmora
for file in dilmora.exe uninstall.exe LICENSE.txt LGPL-3.0-only.txt GPL-3.0-only.txt \
    THIRD-PARTY-NOTICES.txt SOURCE.txt; do
    [ -f "$program_files/$file" ] || fail "not installed: $file"
done
shortcut=$work/prefix/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Dilmora.lnk
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dilmora'
wine reg query "$key" 2>/dev/null | tr -d '\r' >"$work/uninstall-key"
for value in "DisplayName REG_SZ $product_name" "DisplayVersion REG_SZ $version_string" "Publisher REG_SZ" \
    "DisplayIcon REG_SZ C:\\Program Files\\Dilmora\\dilmora.exe,0" "EstimatedSize REG_DWORD 0x" \
    "UninstallString REG_SZ \"C:\\Program Files\\Dilmora\\uninstall.exe\""; do
    awk '{$1=$1; print}' "$work/uninstall-key" | grep -qF "$value" || fail "Apps & Features: no $value"
done

step "starting the installed program"
wine "C:\\Program Files\\Dilmora\\dilmora.exe" &
program=$!
wine_pids+=($program)
window() { timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }
gone() { for _ in $(seq 100); do xdotool search --onlyvisible --name "^$1\$" >/dev/null || return 0; sleep 0.1; done; return 1; }
main=$(window "$product_name") || fail "no window \"$product_name\""
eval "$(xdotool getwindowgeometry --shell "$main")"
# The client area is 395 x 127 pixels below a menu bar of one row.
[ "$WIDTH" -eq 395 ] && [ "$HEIGHT" -gt 127 ] && [ "$HEIGHT" -lt $((127 + 40)) ] ||
    fail "main window is $WIDTH x $HEIGHT, not 395 wide and 127 high below its menu bar"
sleep 1
import -window "$main" "$shots/main-window.png"

# Each menu command, from the keyboard: F10 reaches the menu bar, Right moves
# along it, Return runs the command. The reference windows close with their
# focused "Main Page" button, the About window with the title bar's close command.
index=0
for target in "Irregular Verbs" "Phrasal Verbs" "Particles" "Numbers" "About Programmer"; do
    step "opening \"$target\" from the menu"
    xdotool windowfocus --sync "$main"
    sleep 0.5   # Wine gives the main window its input back a moment after the focus
    xdotool key F10
    for _ in $(seq "$index"); do xdotool key --delay 100 Right; done
    xdotool key --delay 100 Return
    opened=$(window "$target") || fail "\"$target\" did not open"
    sleep 1
    [ "$target" = "Irregular Verbs" ] && import -window "$opened" "$shots/irregular-verbs-page1.png"
    step "closing \"$target\""
    xdotool windowfocus --sync "$opened"
    sleep 0.5
    if [ "$target" = "About Programmer" ]; then xdotool key alt+F4; else xdotool key Return; fi
    gone "$target" || fail "\"$target\" did not close"
    index=$((index + 1))
done

step "closing the main window"
xdotool windowfocus --sync "$main"
xdotool key alt+F4
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
! kill -0 "$program" 2>/dev/null || fail "the program did not end with its main window"
wineserver -w

step "uninstalling silently"
wine "C:\\Program Files\\Dilmora\\uninstall.exe" /S
wineserver -w   # the uninstaller runs on from a copy in %TEMP%
[ ! -e "$program_files" ] || fail "left behind: $(ls "$program_files")"
[ ! -e "$shortcut" ] || fail "left behind: the Start-menu shortcut"
! wine reg query "$key" >/dev/null 2>&1 || fail "left behind: $key"

step "centring every window at 96, 144 and 192 dpi"; bash tools/windows/centring.sh "$exe"
echo "Windows: all checks passed; screenshots in $shots" >&2
