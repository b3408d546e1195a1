#!/usr/bin/env bash
# Proves that Dilmora's Debian package works on this machine: installs it with
# apt-get (which brings in its dependencies), starts the installed program
# without a screen and on a virtual X screen, and removes the package again.
# Installs xvfb, xauth and x11-utils if they are missing.
#
#   bash tools/check-package.sh                  the package from tools/package.sh (build/package)
#   bash tools/check-package.sh FILE.deb         that package
#   bash tools/check-package.sh --build FOLDER   makes the package in a configured build folder first
#
# Needs root (or sudo). Refuses to run while a dilmora package is installed,
# so that it never removes one it did not install.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source tools/lib/install-missing.sh

usage() {
    echo "usage: bash tools/check-package.sh [FILE.deb | --build FOLDER]" >&2
    exit 2
}

case "${1:-}" in
    --build)
        [ $# -eq 2 ] || usage
        rm -f "$2"/dilmora_*.deb
        deb=$(bash packaging/make-deb.sh "$2")
        ;;
    -*) usage ;;
    "") deb=$(ls build/package/dilmora_*.deb 2>/dev/null) || { echo "No package: run bash tools/package.sh first" >&2; exit 1; } ;;
    *) [ $# -eq 1 ] || usage; deb=$1 ;;
esac
deb=$(realpath "$deb")

# The name and application id it must show: from the build folder that made
# the package (identity.sh beside it), or else from this source tree.
if [ -f "$(dirname "$deb")/identity.sh" ]; then
    source "$(dirname "$deb")/identity.sh"
else
    identity=$(mktemp)
    cmake -D IDENTITY_SH="$identity" -P packaging/identity.cmake
    source "$identity"
    rm -f "$identity"
fi

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -qq)

install_for check-package

if dpkg-query -W -f='${Status}' dilmora 2>/dev/null | grep -q 'install ok installed'; then
    echo "A dilmora package is installed already; remove it first: apt-get remove dilmora" >&2
    exit 1
fi

echo "Package: $deb"
dpkg-deb --field "$deb" Package Version Architecture Installed-Size Depends

installed=0
remove() {
    if [ "$installed" -eq 1 ]; then
        "${apt[@]}" purge dilmora >/dev/null
        echo "Removed the package again."
    fi
}
trap remove EXIT

if ! "${apt[@]}" install "$deb" >/dev/null; then
    "${sudo[@]}" apt-get update -qq
    "${apt[@]}" install "$deb" >/dev/null
fi
installed=1

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

[ "$(command -v dilmora)" = /usr/bin/dilmora ] || fail "dilmora is not on the PATH as /usr/bin/dilmora"
for file in "/usr/share/applications/$application_id.desktop" "/usr/share/metainfo/$application_id.metainfo.xml" \
    "/usr/share/icons/hicolor/48x48/apps/$application_id.png"; do
    [ -f "$file" ] || fail "the package did not install $file"
done

# Started without a screen, the program runs until timeout ends it (status 124);
# any other status means it stopped by itself, most likely at start-up.
status=0
QT_QPA_PLATFORM=offscreen timeout 5 dilmora >/dev/null 2>&1 || status=$?
if [ "$status" -eq 124 ]; then
    echo "The installed program ran until it was stopped (offscreen)."
else
    fail "the installed program ended with status $status within 5 seconds"
fi

# On a virtual X screen, through the platform plugin that the package depends
# on, the main window must be mapped (viewable) with its title.
window=$(xvfb-run -a sh -c 'dilmora >/dev/null 2>&1 & pid=$!; sleep 3; xwininfo -name "$1"; kill $pid' sh "$product_name" 2>&1 || true)
if grep -q "Map State: IsViewable" <<<"$window"; then
    echo "The installed program shows its main window \"$product_name\" on X."
else
    fail "no viewable window \"$product_name\" on the virtual screen: $window"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "The package installs, and its program starts."
