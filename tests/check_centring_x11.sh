#!/usr/bin/env bash
# Starts the program on a virtual X screen under openbox, whose work area
# leaves room for a panel, at 100 %, 150 % and 200 %, opens each window from
# the menu bar with the keyboard and measures its frame, title bar included
# (_NET_FRAME_EXTENTS), against the work area (_NET_WORKAREA): the frame's
# centre must lie within one pixel of the work area's.
#
#   bash tests/check_centring_x11.sh <dilmora executable>
set -euo pipefail
program=$1
source "$(dirname "${BASH_SOURCE[0]}")/../tools/scratch.sh" centring

# Large enough for the tallest window at 200 %; openbox keeps 60 pixels at
# the top and 20 at the left free, as a panel would.
Xvfb -displayfd 3 -screen 0 2560x2400x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
cat >"$work/rc.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <margins><top>60</top><bottom>0</bottom><left>20</left><right>0</right></margins>
</openbox_config>
EOF
openbox --config-file "$work/rc.xml" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do xprop -root _NET_WORKAREA 2>/dev/null | grep -q = && break; sleep 0.1; done
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

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

window() { timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }
gone() { for _ in $(seq 100); do xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0; sleep 0.1; done; return 1; }

for scale in 1 1.5 2; do
    QT_SCALE_FACTOR=$scale "$program" 2>/dev/null &
    pid=$!
    pids+=($pid)
    main=$(window "Dilmora 1.0")
    check "$main" "Dilmora 1.0" "$scale"
    # F10 reaches the menu bar, Right moves along it, Return opens.
    index=0
    for title in "Irregular Verbs" "Phrasal Verbs" "Particles" "Numbers" "About Programmer"; do
        xdotool windowfocus --sync "$main"
        xdotool key F10
        for _ in $(seq "$index"); do xdotool key Right; done
        xdotool key Return
        opened=$(window "$title")
        check "$opened" "$title" "$scale"
        wmctrl -i -c "$opened"
        gone "$title"
        index=$((index + 1))
    done
    wmctrl -i -c "$main"
    wait "$pid"
done
[ "$failures" -eq 0 ]
