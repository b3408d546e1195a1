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
