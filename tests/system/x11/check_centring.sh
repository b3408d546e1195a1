#!/usr/bin/env bash
# Starts the program on a virtual X screen under openbox, whose work area
# leaves room for a panel, at 100 %, 150 % and 200 %, opens each window from
# the menu bar with the keyboard and measures its frame, title bar included
# (_NET_FRAME_EXTENTS), against the work area (_NET_WORKAREA): the frame's
# centre must lie within one pixel of the work area's.
#
#   bash tests/system/x11/check_centring.sh <dilmora executable>
#
# The program's messages go to a log that is shown when the check fails.
set -euo pipefail
program=$1
lib=$(dirname "${BASH_SOURCE[0]}")/../lib
source "$lib/needs.sh"
needs Xvfb openbox xdotool wmctrl xwininfo xprop cmake
source "$lib/scratch.sh" centring
source "$lib/desktop.sh"
log=$work/program.log
trap 'status=$?; if [ "$status" -ne 0 ] && [ -s "$log" ]; then echo "--- the program said:" >&2; cat "$log" >&2; fi; end_scratch' EXIT

# Large enough for the tallest window at 200 %; openbox keeps 60 pixels at
# the top and 20 at the left free, as a panel would.
start_x_screen 2560x2400
cat >"$work/rc.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <margins><top>60</top><bottom>0</bottom><left>20</left><right>0</right></margins>
</openbox_config>
XML
openbox --config-file "$work/rc.xml" 2>"$work/openbox.log" &
pids+=($!)
wait_for 'xprop -root _NET_WORKAREA 2>/dev/null | grep -q =' 30 "openbox to set a work area" ||
    { cat "$work/openbox.log" >&2; exit 1; }
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
# An X window, whatever platform the caller's environment names.
export QT_QPA_PLATFORM=xcb

failures=0
# window ID TITLE SCALE: the frame's centre against the work area's.
check() {
    local id=$1 title=$2 scale=$3 x y width height left right top bottom
    eval "$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {print "x=" $NF}
        /Absolute upper-left Y/ {print "y=" $NF} /Width:/ {print "width=" $NF} /Height:/ {print "height=" $NF}')"
    read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    read -r ax ay aw ah _ < <(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g')
    [ "$ax $ay" = "20 60" ] || { echo "FAIL: the work area is not the screen less the margins" >&2; exit 1; }
    # Twice the offsets, in the screen's pixels, to stay with whole numbers.
    local dx=$((2 * (x - left) + width + left + right - 2 * ax - aw))
    local dy=$((2 * (y - top) + height + top + bottom - 2 * ay - ah))
    local limit
    limit=$(awk -v s="$scale" 'BEGIN { print int(2 * s + 0.5) }')
    printf '%-5s %-17s frame centre off by (%s, %s) px\n' "$scale" "$title" \
        "$(awk -v d=$dx 'BEGIN { print d / 2 }')" "$(awk -v d=$dy 'BEGIN { print d / 2 }')"
    if [ "${dx#-}" -gt "$limit" ] || [ "${dy#-}" -gt "$limit" ]; then
        echo "FAIL: \"$title\" at $scale is not centred on the work area" >&2
        failures=$((failures + 1))
    fi
}

for scale in 1 1.5 2; do
    echo "--- at $scale" >>"$log"
    QT_SCALE_FACTOR=$scale "$program" 2>>"$log" &
    pid=$!
    pids+=($pid)
    main=$(window "$product_name")
    check "$main" "$product_name" "$scale"
    for index in "${!menu_titles[@]}"; do
        title=${menu_titles[$index]}
        xdotool windowfocus --sync "$main"
        for key in $(menu_keys "$index"); do xdotool key "$key"; done
        opened=$(window "$title")
        check "$opened" "$title" "$scale"
        wmctrl -i -c "$opened"
        gone "$title"
    done
    wmctrl -i -c "$main"
    wait_for '! kill -0 "$pid" 2>/dev/null' 20 "the program to end with its main window"
    wait "$pid" || { echo "FAIL: the program ended with status $? at $scale" >&2; exit 1; }
done
[ "$failures" -eq 0 ]
