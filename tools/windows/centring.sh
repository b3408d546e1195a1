#!/usr/bin/env bash
# Measures under Wine where each of Dilmora's windows opens: the centre of its
# frame, title bar included, against the centre of the work area of its
# monitor, as Windows reports both (GetWindowRect, GetMonitorInfo), at 96,
# 144 and 192 dpi (100, 150 and 200 %). Each must lie within one pixel.
#
#   bash tools/windows/centring.sh [dilmora.exe]
#
# tools/windows/test.sh runs it after building; it uses a private Wine prefix
# and a virtual X screen of its own, large enough for the tallest window at 200 %.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
source tools/install-missing.sh
source tools/windows/common.sh
source tools/windows/wine-prefix.sh
install_missing "${windows_test_packages[@]}" gcc-mingw-w64-x86-64-posix
exe=$(realpath "${1:-build/windows/dilmora.exe}")

work=$(mktemp -d "${TMPDIR:-/tmp}/dilmora-centring.XXXXXX")
pids=()
finish() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    [ -z "${WINEPREFIX:-}" ] || wineserver -k 2>/dev/null || true
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap finish EXIT
fail() { echo "Windows centring: FAILED: $*" >&2; exit 1; }

unset WINEPREFIX
Xvfb -displayfd 3 -screen 0 2560x2400x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
make_wine_prefix "$work/prefix"

# Twice the offset of the frame's centre from the work area's, in pixels.
cat >"$work/measure.c" <<'EOF'
#include <windows.h>
#include <stdio.h>
int wmain(int argc, wchar_t** argv)
{
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    HWND window = argc > 1 ? FindWindowW(NULL, argv[1]) : NULL;
    if (!window)
        return 1;
    RECT frame;
    MONITORINFO monitor = {sizeof monitor};
    GetWindowRect(window, &frame);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    printf("%ld %ld %u\n", frame.left + frame.right - monitor.rcWork.left - monitor.rcWork.right,
           frame.top + frame.bottom - monitor.rcWork.top - monitor.rcWork.bottom,
           GetDpiForWindow(window));
    return 0;
}
EOF
x86_64-w64-mingw32-gcc -municode -D_WIN32_WINNT=0x0A00 -O2 -o "$work/measure.exe" "$work/measure.c"

failures=0
check() {
    local title=$1 dpi=$2 dx dy seen
    read -r dx dy seen < <(wine "$work/measure.exe" "$title" | tr -d '\r') || fail "no window \"$title\""
    [ "$seen" -eq "$dpi" ] || fail "\"$title\" is at $seen dpi, not $dpi"
    printf '%-4s %-17s frame centre off by (%s, %s) px\n' "$dpi" "$title" \
        "$(awk -v d="$dx" 'BEGIN { print d / 2 }')" "$(awk -v d="$dy" 'BEGIN { print d / 2 }')"
    if [ "${dx#-}" -gt 2 ] || [ "${dy#-}" -gt 2 ]; then
        echo "FAIL: \"$title\" at $dpi dpi is not centred on the work area" >&2
        failures=$((failures + 1))
    fi
}

window() { timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }
gone() { for _ in $(seq 100); do xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0; sleep 0.1; done; return 1; }

for dpi in 96 144 192; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -w
    wine "$exe" &
    program=$!
    pids+=($program)
    main=$(window "Dilmora 1.0") || fail "no main window at $dpi dpi"
    sleep 1
    check "Dilmora 1.0" "$dpi"
    index=0
    # F10 reaches the menu bar, Right moves along it, Return opens; the
    # title bar's close command (Alt+F4) closes.
    for title in "Irregular Verbs" "Phrasal Verbs" "Particles" "Numbers" "About Programmer"; do
        xdotool windowfocus --sync "$main"
        sleep 0.5
        xdotool key F10
        for _ in $(seq "$index"); do xdotool key --delay 100 Right; done
        xdotool key --delay 100 Return
        opened=$(window "$title") || fail "\"$title\" did not open at $dpi dpi"
        sleep 0.5
        check "$title" "$dpi"
        xdotool windowfocus --sync "$opened"
        sleep 0.5
        xdotool key alt+F4
        gone "$title" || fail "\"$title\" did not close"
        index=$((index + 1))
    done
    xdotool windowfocus --sync "$main"
    xdotool key alt+F4
    wait "$program" || true
    wineserver -w
done
[ "$failures" -eq 0 ] || fail "$failures windows not centred"
echo "Windows centring: every window centred at 96, 144 and 192 dpi" >&2
