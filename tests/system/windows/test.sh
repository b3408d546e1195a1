#!/usr/bin/env bash
# Tests Dilmora for Windows under Wine, on a virtual X screen:
#
#   bash tests/system/windows/test.sh
#
# Builds the .exe, the installer and the test programs (tools/windows/build.sh),
# then, in a private Wine prefix made in a temporary folder:
#   1. runs the Qt Test programs as Windows executables; builds the .exe and
#      the installer twice more from copies of the source in two other
#      folders, which must give the same bytes, and signs one of them with a
#      throwaway certificate;
#   2. reads the version record, icon, manifest and imports back from dilmora.exe;
#   3. installs silently and checks the files, the shortcut and Apps & Features;
#   4. starts the installed program, opens and closes each of the five windows
#      from the menu bar with the keyboard, finds a word in a window and from
#      the main window's list (finding.sh), and writes screenshots to
#      build/windows/screenshots/;
#   5. uninstalls silently and checks that nothing of Dilmora is left;
#   6. runs dilmora.exe from a folder where a DLL named like one of Windows'
#      was dropped (Wine loads it all the same: the header is what counts),
#      and from one with a planted thai.dll, typing Thai into it: that one
#      must stay unloaded;
#   7. walks it with a stand-in UIAutomationCore.dll that records what Qt's
#      UI Automation provider gives (tests/system/windows/uia/run.sh).
# Any failing step fails the script.
set -eEuo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../../.."
source tools/lib/install-missing.sh
source tools/lib/windows.sh
source tests/system/lib/scratch.sh wine
source tests/system/lib/desktop.sh
source tests/system/windows/wine-prefix.sh
source tests/system/windows/planted-dll.sh
source tests/system/windows/second-build.sh
source tests/system/windows/centring.sh
source tests/system/windows/finding.sh

install_for windows-test
bash tools/windows/build.sh >/dev/null
cmake --build --preset windows -j "$(nproc)"

build=$PWD/build/windows
source "$build/identity.sh"   # product_name, internal_name, version_string, ...
exe=$build/dilmora.exe
installer=$build/$installer_name
shots=$build/screenshots
mkdir -p "$shots"

step() { echo "== Windows: $*" >&2; current_step=$*; }
fail() { echo "Windows: FAILED while: ${current_step:-starting}: $*" >&2; exit 1; }
trap 'fail "command failed (line $LINENO)"' ERR

# Everything this script starts is ended by its process id when it stops.
step "starting a virtual screen and a private Wine prefix"
start_wine_session

step "the cached Qt: dated by its qt6-base source, and built again for another date"
qt_date=$(zcat /usr/share/doc/qt6-base-dev/changelog.Debian.gz | dpkg-parsechangelog -l - -S Timestamp)
grep -qF "; dated $qt_date;" "$windows_qt/dilmora-stamp" || fail "the stamp of $windows_qt is not dated $qt_date"
# A copy of its stamp and record, first as they are, then with another date.
mkdir -p "$work/qt-copy/share/dilmora"
cp "$windows_qt"/share/dilmora/record-* "$work/qt-copy/share/dilmora/"
cp "$windows_qt/dilmora-stamp" "$work/qt-copy/"
DILMORA_WINDOWS_QT=$work/qt-copy bash tools/windows/build-qt.sh --check 2>/dev/null || fail "its own stamp is out of date"
sed -i "s/; dated $qt_date;/; dated $((qt_date + 1));/" "$work/qt-copy/dilmora-stamp"
! DILMORA_WINDOWS_QT=$work/qt-copy bash tools/windows/build-qt.sh --check 2>/dev/null || fail "a Qt of another date counts as up to date"

step "running the test programs under Wine"
ctest --preset windows

step "building twice more, from copies of the source in two other folders"
# (build/windows may carry the dates of an earlier commit where Ninja had no
# cause to run Qt's resource compiler again; fresh builds carry this one's.)
second_build "$work/first"
second_build "$work/second"
again=$work/second/source/build/windows
for file in dilmora.exe "$installer_name"; do
    same_bytes "$work/first/source/build/windows/$file" "$again/$file" ||
        fail "$file differs between two builds of the same source"
done

step "signing that build with a throwaway certificate"
throwaway_certificate "$work"
DILMORA_SIGN_PKCS12=$work/signing.p12 DILMORA_SIGN_PASSWORD_FILE=$work/password second_build "$work/second"
for renewed in 0 1; do
    for file in dilmora.exe "$installer_name"; do
        verify_signature "$again/$file" "$work/signing.pem" || fail "$file has no valid signature (renewed: $renewed)"
    done
    [ "$renewed" -eq 0 ] || break
    # A renewed certificate, written where the old one was, must sign again.
    step "signing it again with a renewed certificate in the same file"
    rm "$work/signing.p12" "$work/signing.pem" "$work/signing.key" "$work/password"
    throwaway_certificate "$work"
    DILMORA_SIGN_PKCS12=$work/signing.p12 DILMORA_SIGN_PASSWORD_FILE=$work/password second_build "$work/second"
done

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

step "checking the header: no time stamp, ASLR, DEP, imports from System32 only"
/usr/bin/python3 packaging/windows/pe-fields.py show "$exe" >"$work/header"
for field in "TimeDateStamp 0" "HIGH_ENTROPY_VA 1" "DYNAMIC_BASE 1" "NX_COMPAT 1" "DependentLoadFlags 0x800"; do
    grep -qxF "$field" "$work/header" || fail "the header has not \"$field\": $(tr '\n' ' ' <"$work/header")"
done
grep -q '__stack_chk_fail' "$build/dilmora.map" || fail "no stack protector linked"

step "checking the notices against what the linker took"
/usr/bin/python3 packaging/windows/qt-notices.py check "$windows_qt/share/dilmora" \
    "$build/packaging/windows/licences/THIRD-PARTY-NOTICES.txt" "$build/dilmora.map"

step "installing silently: installer and uninstaller import only what Windows takes from System32 or WinSxS"
system_imports_only "$installer" || fail "the installer can be made to load a planted DLL"
wine "$installer" /S
wineserver -w
program_files=$work/prefix/drive_c/Program\ Files/Dilmora
system_imports_only "$program_files/uninstall.exe" || fail "the uninstaller can be made to load a planted DLL"
for file in dilmora.exe uninstall.exe LICENSE.txt LGPL-3.0-only.txt GPL-3.0-only.txt \
    THIRD-PARTY-NOTICES.txt SOURCE.txt; do
    [ -f "$program_files/$file" ] || fail "not installed: $file"
done
shortcut=$work/prefix/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Dilmora.lnk
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dilmora'
wine reg query "$key" 2>/dev/null | tr -d '\r' >"$work/uninstall-key"
# A Wine program started while the wine server of the last one is ending
# loses its connection ("recvmsg: Connection reset by peer") and never shows.
wineserver -w
for value in "DisplayName REG_SZ $product_name" "DisplayVersion REG_SZ $version_string" "Publisher REG_SZ" \
    "DisplayIcon REG_SZ C:\\Program Files\\Dilmora\\dilmora.exe,0" "EstimatedSize REG_DWORD 0x" \
    "UninstallString REG_SZ \"C:\\Program Files\\Dilmora\\uninstall.exe\""; do
    awk '{$1=$1; print}' "$work/uninstall-key" | grep -qF "$value" || fail "Apps & Features: no $value"
done

step "starting the installed program"
wine "C:\\Program Files\\Dilmora\\dilmora.exe" &
program=$!
pids+=($program)
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
for index in "${!menu_titles[@]}"; do
    target=${menu_titles[$index]}
    step "opening \"$target\" from the menu"
    open_from_menu "$main" "$index" || fail "the main window did not take the focus"
    opened=$(window "$target") || fail "\"$target\" did not open"
    sleep 1
    [ "$target" = "Irregular Verbs" ] && import -window "$opened" "$shots/irregular-verbs-page1.png"
    step "closing \"$target\""
    focus "$opened" || fail "\"$target\" did not take the focus"
    if [ "$target" = "About Programmer" ]; then xdotool key alt+F4; else xdotool key Return; fi
    gone "$target" || fail "\"$target\" did not close"
done

step "finding a word: Turkish letters, the mark, Ctrl+C, the main window's list"
check_finding "$main" "$shots" || fail "a find did not show, mark or copy its row"

step "closing the main window"
focus "$main" || fail "the main window did not take the focus"
xdotool key alt+F4
reap_process "$program" || fail "the program did not end with its main window"
wineserver -w

step "uninstalling silently"
wine "C:\\Program Files\\Dilmora\\uninstall.exe" /S
wineserver -w   # the uninstaller runs on from a copy in %TEMP%
[ ! -e "$program_files" ] || fail "left behind: $(ls "$program_files")"
[ ! -e "$shortcut" ] || fail "left behind: the Start-menu shortcut"
! wine reg query "$key" >/dev/null 2>&1 || fail "left behind: $key"

step "installing the signed build: its uninstaller is signed too"
wine "$again/$installer_name" /S '/D=C:\Signed'
wineserver -w
verify_signature "$work/prefix/drive_c/Signed/uninstall.exe" "$work/signing.pem" ||
    fail "the installed uninstaller has no valid signature"
wine 'C:\Signed\uninstall.exe' /S
wineserver -w

step "running dilmora.exe beside a planted VERSION.dll"
planted=$work/prefix/drive_c/Downloads
plant_dlls "$planted" "$exe" VERSION.dll
cp "$exe" "$planted/"
(cd "$planted" && WINEDLLOVERRIDES=$(native_overrides VERSION.dll) exec wine ./dilmora.exe) &
program=$!
pids+=($program)
# A stand-in that loaded answers every call with 0, which the program need
# not survive: give it twenty seconds, then end whatever runs in the prefix.
for _ in $(seq 100); do
    kill -0 "$program" 2>/dev/null || break
    [ -z "$(loaded_dlls "$planted")" ] || break
    sleep 0.2
done
wineserver -k || true
reap_process "$program" || fail "dilmora.exe did not end"
if [ -n "$(loaded_dlls "$planted")" ]; then
    # Wine 8 reads no load configuration: the header's DependentLoadFlags,
    # checked above, is what keeps Windows from loading it.
    echo "   Wine loaded the planted DLL: it ignores DependentLoadFlags (the header is checked above)" >&2
fi

step "typing Thai into dilmora.exe beside a planted thai.dll"
check_bare_name_loads "$exe"

step "observing what UI Automation gets (tests/system/windows/uia)"
bash tests/system/windows/uia/run.sh "$exe"

step "centring every window at 96, 144 and 192 dpi"
check_centring "$exe"
echo "Windows: all checks passed; screenshots in $shots" >&2
