# Sourced by tests/system/windows/test.sh, inside its Wine session: where each of
# Dilmora's windows opens. The centre of its frame, title bar included, must
# lie near the centre of its monitor's work area, as Windows
# reports both (tests/system/windows/frame-centre.c), at 96, 144 and 192 dpi.

# check_centring EXE: opens every window of EXE at each dpi and measures it.
check_centring() {
    local exe=$1 measure=$work/frame-centre.exe failures=0 dpi index title opened program main
    x86_64-w64-mingw32-gcc-posix -municode -D_WIN32_WINNT=0x0A00 -O2 -o "$measure" tests/system/windows/frame-centre.c
    for dpi in 96 144 192; do
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
        wineserver -w
        wine "$exe" &
        program=$!
        pids+=($program)
        main=$(window "$product_name") || { echo "no main window at $dpi dpi" >&2; return 1; }
        measure_centre "$measure" "$product_name" "$dpi" || failures=$((failures + 1))
        for index in "${!menu_titles[@]}"; do
            title=${menu_titles[$index]}
            open_from_menu "$main" "$index" || return 1
            opened=$(window "$title") || { echo "\"$title\" did not open at $dpi dpi" >&2; return 1; }
            measure_centre "$measure" "$title" "$dpi" || failures=$((failures + 1))
            focus "$opened" && xdotool key alt+F4
            gone "$title" || return 1
        done
        focus "$main" && xdotool key alt+F4
        reap_process "$program" || return 1
        wineserver -w
    done
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
    [ "$failures" -eq 0 ] || { echo "$failures windows not centred" >&2; return 1; }
}

# measure_centre MEASURE TITLE DPI: prints the offset of the window's frame
# centre; fails beyond one pixel. The window may still be on its way to its
# place when it first shows: it is measured until it stays put.
measure_centre() {
    local dx dy seen last=
    for _ in $(seq 20); do
        read -r dx dy seen < <(wine "$1" "$2" | tr -d '\r') || { echo "no window \"$2\"" >&2; return 1; }
        [ "$dx $dy" = "$last" ] && break
        last="$dx $dy"
        sleep 0.2
    done
    [ "$seen" -eq "$3" ] || { echo "\"$2\" is at $seen dpi, not $3" >&2; return 1; }
    printf '   %-4s %-17s frame centre off by (%s, %s) px\n' "$3" "$2" \
        "$(awk -v d="$dx" 'BEGIN { print d / 2 }')" "$(awk -v d="$dy" 'BEGIN { print d / 2 }')" >&2
    [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ]
}
