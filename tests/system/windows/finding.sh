# Sourced by tests/system/windows/test.sh, inside its Wine session: finding a
# word as a user does, with the installed program's main window open. The
# keys come from xdotool on a Turkish keyboard layout; the row found is read
# back through the clipboard, which Wine shares with X (xclip), and its mark
# from a screenshot, in the highlight colour of the Windows colour scheme.

# check_finding MAIN SHOTS: finds in a paged window and from the main
# window's list; writes a screenshot of each find to SHOTS.
check_finding() {
    local main=$1 shots=$2 opened
    # A Turkish learner's keyboard, with a key for each Turkish letter. (On
    # another layout xdotool maps a spare key to each letter in turn, and Qt
    # under Wine takes every letter after the first for the first one.)
    setxkbmap tr
    open_from_menu "$main" 0 || return 1
    opened=$(window "Irregular Verbs") || return 1
    focus "$opened" || return 1
    xdotool key --delay 150 odiaeresis gbreve r e n
    copied_after ctrl+c "$(printf 'learn\töğrenmek\tlearnt\tlearnt')" || return 1
    import -window "$opened" "$shots/find-irregular-verbs.png"
    marked_in_highlight "$shots/find-irregular-verbs.png" || return 1
    # Return closes the field and gives the focus back to "Main Page".
    xdotool key Return
    sleep 0.5
    xdotool key Return
    gone "Irregular Verbs" || return 1

    # The main window lists the finds of every window; Return opens the
    # first in its window, at its page, with its row marked.
    focus "$main" || return 1
    xdotool type --delay 150 "look after"
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$main")"
    import -window root -crop "$((WIDTH + 10))x$((HEIGHT + 40))+$X+$Y" +repage "$shots/find-main-window.png"
    xdotool key Return
    opened=$(window "Phrasal Verbs") || return 1
    focus "$opened" || return 1
    copied_after ctrl+c "$(printf 'look after\t(bir kimseye) bakmak, hizmet vermek')" || return 1
    xdotool key alt+F4
    gone "Phrasal Verbs" || return 1
    setxkbmap us
}

# copied_after KEY TEXT: presses KEY; the clipboard must hold TEXT within five seconds.
copied_after() {
    local expected=$2
    xdotool key "$1"
    wait_for '[ "$(xclip -o -selection clipboard 2>/dev/null)" = "$expected" ]' 5 "the clipboard to hold \"$2\"" ||
        { echo "it holds \"$(xclip -o -selection clipboard 2>/dev/null)\"" >&2; return 1; }
}

# marked_in_highlight PNG: at least a row's worth of pixels in the scheme's
# highlight colour ("Hilight" in HKCU\Control Panel\Colors).
marked_in_highlight() {
    local rgb pixels
    rgb=$(wine reg query 'HKCU\Control Panel\Colors' /v Hilight 2>/dev/null | tr -d '\r' | awk '/Hilight/ {print $3 "," $4 "," $5}')
    [ -n "$rgb" ] || { echo "no highlight colour in the registry" >&2; return 1; }
    pixels=$(convert "$1" -fill white +opaque "rgb($rgb)" -fill black -opaque "rgb($rgb)" -negate -format '%[fx:round(mean*w*h)]' info:)
    [ "$pixels" -ge 2000 ] || { echo "$pixels pixels in the highlight colour rgb($rgb), fewer than a marked row's" >&2; return 1; }
}
