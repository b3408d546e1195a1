# Sourced by the Windows scripts: private Wine prefixes, never the user's ~/.wine.

# use_wine_prefix DIR: run Wine quietly in DIR, without Mono and Gecko
# prompts, and without winemenubuilder writing menu entries or icons into
# this machine's home folder.
use_wine_prefix() {
    export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
}

# make_wine_prefix DIR: a new 64-bit prefix in DIR (about 20 s), with Wine's
# own fonts in its Fonts folder (Debian's Wine does not find them there by
# itself) and a font folder for Qt's offscreen platform.
make_wine_prefix() {
    use_wine_prefix "$1"
    mkdir -p "$1"
    wine wineboot -i >/dev/null 2>&1
    wineserver -w
    ln -sf /usr/share/wine/fonts/*.ttf "$1/drive_c/windows/Fonts/"
    mkdir -p "$1/offscreen-fonts"
    ln -sf /usr/share/fonts/truetype/liberation/*.ttf /usr/share/fonts/truetype/dejavu/*.ttf "$1/offscreen-fonts/"
}

# start_wine_session DIR: a virtual X screen of its own (2560 x 2400, room for
# the tallest window at 200 %) and a new private
# prefix in the empty folder DIR, for the rest of the script. When the script
# exits, every process in wine_pids (the screen's first) that is still running
# is ended by its id, the prefix's Wine processes end, and DIR is removed.
# A process that ended on its own is reaped with reap_process, which also
# forgets its id, so that no later process that gets the same id is ended.
wine_pids=()
start_wine_session() {
    wine_session=$1
    unset WINEPREFIX   # never a prefix of the user's
    trap end_wine_session EXIT
    Xvfb -displayfd 3 -screen 0 2560x2400x24 -nolisten tcp 3>"$wine_session/display" 2>/dev/null &
    wine_pids+=($!)
    for _ in $(seq 50); do [ -s "$wine_session/display" ] && break; sleep 0.1; done
    export DISPLAY=:$(cat "$wine_session/display")
    make_wine_prefix "$wine_session/prefix"
}

# reap_process PID [SECONDS]: waits up to SECONDS (default 10) for the
# process to end; fails if it is still running, else forgets its id.
reap_process() {
    local pid=$1 kept=() other
    for _ in $(seq $((${2:-10} * 10))); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    ! kill -0 "$pid" 2>/dev/null || return 1
    wait "$pid" 2>/dev/null || true
    for other in "${wine_pids[@]}"; do [ "$other" = "$pid" ] || kept+=("$other"); done
    wine_pids=("${kept[@]}")
}

end_wine_session() {
    local pid
    for pid in "${wine_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    [ -z "${WINEPREFIX:-}" ] || wineserver -k 2>/dev/null || true
    for pid in "${wine_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$wine_session"
}

# The windows of a program in the session, by their titles.
# window TITLE: the id of the visible window, waiting for it up to a minute.
window() { timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }
# gone TITLE: succeeds once no visible window has the title, within ten seconds.
gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}
# focus ID: Wine hands the keyboard to a window a moment after it has been
# focused, so it is focused until X reports the focus on it twice in a row,
# a fifth of a second apart, up to ten seconds. (Without a window manager
# there is no "active" window to ask for.)
focus() {
    local held=0
    for _ in $(seq 50); do
        if [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; then
            held=$((held + 1))
            [ "$held" -lt 2 ] || return 0
        else
            held=0
            xdotool windowfocus --sync "$1" 2>/dev/null || true
        fi
        sleep 0.2
    done
    return 1
}
# open_from_menu MAIN INDEX: F10 reaches the main window's menu bar, Right
# moves INDEX items along it, Return runs the command.
open_from_menu() {
    focus "$1" || return 1
    xdotool key F10
    for _ in $(seq "$2"); do xdotool key --delay 100 Right; done
    xdotool key --delay 100 Return
}
