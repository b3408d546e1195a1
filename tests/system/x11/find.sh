#!/usr/bin/env bash
# Types into the real program on a virtual X screen under openbox, as a
# learner does to find a word, and reads back through AT-SPI, in a private
# D-Bus session with its accessibility bus, what each window then shows: its
# grid's page (the table's description) and the row found (the cells in the
# selected state, and the table's selected row). In Irregular Verbs a Turkish
# meaning typed without its Turkish letters, then Down to a next match on the
# next page; in Numbers a single cell; in the main window the list of finds,
# whose Return opens the window at the row.
#
#   bash tests/system/x11/find.sh <dilmora executable>
set -euo pipefail
program=$1
lib=$(dirname "${BASH_SOURCE[0]}")/../lib
source "$lib/needs.sh"
needs Xvfb openbox xdotool wmctrl dbus-daemon dbus-send /usr/libexec/at-spi-bus-launcher /usr/bin/python3 cmake
# A Python module, not a command; missing, it counts as a missing tool.
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || needs python3-pyatspi
source "$lib/scratch.sh" find
source "$lib/desktop.sh"
log=$work/program.log
trap 'status=$?; if [ "$status" -ne 0 ] && [ -s "$log" ]; then echo "--- the program said:" >&2; cat "$log" >&2; fi; end_scratch' EXIT

start_x_screen 1280x1024
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
# A window mapped before openbox manages the screen is taken over later, and
# refuses the focus while it is.
wait_for 'wmctrl -m >/dev/null 2>&1' 30 "openbox to manage the screen" || { cat "$work/openbox.log" >&2; exit 1; }
export HOME=$work XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
{ read -r DBUS_SESSION_BUS_ADDRESS; read -r bus; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 2>"$work/dbus.log")
export DBUS_SESSION_BUS_ADDRESS
pids+=("$bus")
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/at-spi.log" 2>&1 &
pids+=($!)
# Asked for the accessibility bus before the launcher has it, D-Bus would
# start a launcher of its own.
wait_for 'dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true' \
    30 "the accessibility bus" || { cat "$work/at-spi.log" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

"$program" 2>"$log" &
pid=$!
pids+=("$pid")
main=$(window "$product_name")

failures=0
# marked TITLE EXPECTED: waits up to 10 s until the window TITLE reads, through
# AT-SPI, "<table description or no pages>, row <n>: <selected cells' texts, |-joined>"
# ("cell" instead of "row" when the table has no selected row); else fails,
# saying what it read.
marked() {
    /usr/bin/python3 - "$pid" "$@" <<'PY' || failures=$((failures + 1))
import sys, time
import pyatspi

pid, title, expected = int(sys.argv[1]), sys.argv[2], sys.argv[3]

def shown():
    app = next((a for a in pyatspi.Registry.getDesktop(0)
                if a is not None and a.get_process_id() == pid), None)
    window = next((w for w in app or [] if w is not None and w.name == title), None)
    node = window and pyatspi.findDescendant(window, lambda n: n.getRole() == pyatspi.ROLE_TABLE)
    if node is None:
        return f"no window {title!r} with a table"
    table = node.queryTable()
    cells = [(r, table.getAccessibleAt(r, c)) for r in range(table.nRows)
             for c in range(table.nColumns)]
    cells = [(r, cell.name.strip()) for r, cell in cells
             if cell.getState().contains(pyatspi.STATE_SELECTED)]
    page = node.description or "no pages"
    if not cells:
        return f"{page}, nothing selected"
    rows = sorted({r for r, _ in cells})
    selected = list(table.getSelectedRows())
    if len(rows) != 1 or selected not in ([], rows):
        return f"{page}, cells of rows {rows} selected, table's rows {selected}"
    kind = "row" if selected else "cell"
    return f"{page}, {kind} {rows[0] + 1}: " + "|".join(text for _, text in cells)

def read():
    try:
        return shown()
    except Exception as error:  # a window that opens or closes while it is read
        return f"unreadable: {error}"

deadline = time.monotonic() + 10
while (seen := read()) != expected and time.monotonic() < deadline:
    time.sleep(0.2)
if seen != expected:
    sys.exit(f"FAIL: {title}: expected {expected!r}, after 10 s AT-SPI shows {seen!r}")
print(f"{title}: {seen}")
PY
}

# focus ID: makes the window ID the active one, as a click on it does; a
# window that has only just been mapped may refuse the focus for a moment.
focus() {
    wait_for "timeout 5 xdotool windowactivate --sync $1 2>/dev/null" 20 "window $1 to take the focus"
}

# open_window INDEX: opens the INDEX-th window of the menu bar and prints its id.
open_window() {
    focus "$main"
    for key in $(menu_keys "$1"); do xdotool key "$key"; done
    window "${menu_titles[$1]}"
}

# close_window ID TITLE
close_window() {
    wmctrl -i -c "$1"
    gone "$2"
}

# typed ID TEXT: types TEXT into the window ID, a key a character.
typed() {
    focus "$1"
    xdotool type --delay 50 "$2"
}

verbs=$(open_window 0)
typed "$verbs" icmek
marked "Irregular Verbs" "Page 2 of 4, row 1: drink|içmek|drank|drunk"
xdotool key Escape
marked "Irregular Verbs" "Page 2 of 4, nothing selected"
typed "$verbs" dr
marked "Irregular Verbs" "Page 1 of 4, row 32: draw|çizmek|drew|drawn"
xdotool key Down
marked "Irregular Verbs" "Page 2 of 4, row 1: drink|içmek|drank|drunk"
close_window "$verbs" "Irregular Verbs"

numbers=$(open_window 3)
typed "$numbers" 21
marked "Numbers" "no pages, cell 22: 21 twentyone"
xdotool key Down
marked "Numbers" "no pages, cell 21: 21st twentyfirst"
close_window "$numbers" "Numbers"

typed "$main" "look after"
xdotool key Return
phrasal=$(window "Phrasal Verbs")
marked "Phrasal Verbs" "Page 6 of 10, row 5: look after|(bir kimseye) bakmak, hizmet vermek"
close_window "$phrasal" "Phrasal Verbs"

wmctrl -i -c "$main"
wait_for '! kill -0 "$pid" 2>/dev/null' 20 "the program to end with its main window"
wait "$pid" || { echo "FAIL: the program ended with status $?" >&2; exit 1; }
forget "$pid"
[ "$failures" -eq 0 ]
