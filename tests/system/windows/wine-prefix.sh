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

# start_wine_session: in the scratch folder of tests/system/lib/scratch.sh, a
# virtual X screen of its own (2560 x 2400, room for the tallest window at
# 200 %) and a new private prefix, for the rest of the script. When the
# script exits, the prefix's Wine processes end with the scratch folder's.
# Needs tests/system/lib/desktop.sh.
start_wine_session() {
    start_x_screen 2560x2400 || return 1
    start_wine_prefix
}
# start_wine_prefix: the private prefix alone, on the X screen there is.
start_wine_prefix() {
    unset WINEPREFIX   # never a prefix of the user's
    at_exit+=('[ -z "${WINEPREFIX:-}" ] || wineserver -k')
    make_wine_prefix "$work/prefix"
}

# reap_process PID [SECONDS]: waits up to SECONDS (default 10) for the
# process to end; fails if it is still running, else forgets its id.
reap_process() {
    local pid=$1
    wait_for '! kill -0 "$pid" 2>/dev/null' "${2:-10}" || return 1
    wait "$pid" 2>/dev/null || true
    forget "$pid"
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
# open_from_menu MAIN INDEX: opens the INDEX-th window of the menu bar.
open_from_menu() {
    focus "$1" || return 1
    local key
    for key in $(menu_keys "$2"); do xdotool key --delay 100 "$key"; done
}
