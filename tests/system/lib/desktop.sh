# Sourced by the system tests that drive Dilmora's windows on an X display
# (X11, Xwayland, Wine), after tests/system/lib/scratch.sh:
#
#   product_name, application_id, ...   who the program is (packaging/identity.cmake)
#   menu_titles                         the windows its menu bar opens, in order (menu.txt)
#   menu_keys INDEX                     the keys that open the INDEX-th of them
#   start_x_screen WxH                  a virtual X screen of that size (Xvfb), DISPLAY
#                                       names it; it ends with the scratch folder
#   wait_for CONDITION [SECONDS [WHAT]] polls CONDITION up to SECONDS (10); on time-out
#                                       fails, saying what it waited for when WHAT is given
#   window TITLE [SECONDS]              the id of the visible window TITLE
#   gone TITLE [SECONDS]                succeeds once no visible window has the title
desktop_lib=$(dirname "${BASH_SOURCE[0]}")
cmake -D IDENTITY_SH="$work/identity.sh" -P "$desktop_lib/../../../packaging/identity.cmake" >/dev/null
source "$work/identity.sh"
mapfile -t menu_titles < <(grep -v '^#' "$desktop_lib/menu.txt")

menu_keys() {
    local keys=(F10) _
    for _ in $(seq "$1"); do keys+=(Right); done
    echo "${keys[@]}" Return
}

wait_for() {
    local deadline=$((SECONDS + ${2:-10}))
    until eval "$1"; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            [ -z "${3:-}" ] || echo "timed out after ${2:-10} s waiting for $3" >&2
            return 1
        fi
        sleep 0.1
    done
}

start_x_screen() {
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    pids+=($!)
    wait_for '[ -s "$work/display" ]' 30 "Xvfb to open a display" || { cat "$work/xvfb.log" >&2; return 1; }
    export DISPLAY=:$(cat "$work/display")
}

# The titles of the visible windows, for a message.
visible_titles() {
    local id
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        printf '"%s" ' "$(xdotool getwindowname "$id" 2>/dev/null)"
    done
}

# A search fails when a window vanishes while xdotool lists them (BadWindow):
# it is tried again until the time is up.
window() {
    local deadline=$((SECONDS + ${2:-20})) id
    while :; do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
        [ -z "$id" ] || { echo "$id"; return 0; }
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "no visible window \"$1\" within ${2:-20} s; visible: $(visible_titles)" >&2
            return 1
        fi
        sleep 0.1
    done
}

gone() {
    local title=$1
    wait_for '[ -z "$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null)" ]' "${2:-10}" "\"$title\" to close"
}
