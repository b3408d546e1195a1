#!/usr/bin/env bash
# Builds the static Qt for Windows that dilmora.exe links, from Debian's own
# qt6-base source package, once per machine.
#
#   bash tools/windows/build-qt.sh
#
# The result goes to $DILMORA_WINDOWS_QT (default
# /var/cache/dilmora/qt-6.4.2-mingw-static) with a stamp naming the source
# version and the options; when the stamp matches, nothing is rebuilt.
# Nothing is downloaded but Debian packages and Debian's source package.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
source tools/install-missing.sh
source tools/windows/common.sh

step() { echo "== Qt for Windows: $*" >&2; current_step=$*; }
trap 'echo "Qt for Windows: failed while: ${current_step:-starting}" >&2' ERR

step "installing the cross compilers and host tools"
install_missing "${windows_build_packages[@]}" dpkg-dev xz-utils

# The host tools (moc, rcc, uic) and the cross-built libraries must be the same
# Qt release, so the source is the exact version of the host's Qt.
version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
options_hash=$(cat tools/windows/qt-options.cmake tools/windows/mingw-toolchain.cmake | sha256sum | cut -c1-16)
stamp="qt6-base $version; options $options_hash"
if [ -f "$windows_qt/dilmora-stamp" ] && [ "$(cat "$windows_qt/dilmora-stamp")" = "$stamp" ]; then
    echo "Qt for Windows is up to date in $windows_qt" >&2
    exit 0
fi

step "fetching Debian's qt6-base $version source"
if ! apt-get source --print-uris qt6-base="$version" >/dev/null 2>&1; then
    # Without a deb-src entry for bookworm main, add one of our own.
    sudo=(); [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm' \
        'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
        "${sudo[@]}" tee /etc/apt/sources.list.d/dilmora-deb-src.sources >/dev/null
    "${sudo[@]}" apt-get update -qq
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/dilmora-qt.XXXXXX")
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source -qq qt6-base="$version" >/dev/null)
source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')

step "configuring (static, release, minimal)"
rm -rf "$windows_qt"
cmake -G Ninja -S "$source_dir" -B "$work/build" \
    -C tools/windows/qt-options.cmake \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/tools/windows/mingw-toolchain.cmake" \
    -DCMAKE_INSTALL_PREFIX="$windows_qt" >"$work/configure.log" 2>&1 ||
    { tail -40 "$work/configure.log" >&2; false; }

step "compiling (tens of minutes)"
# Ninja's progress line, one line every hundred steps.
cmake --build "$work/build" -j "$(nproc)" 2>&1 | awk '/^\[[0-9]+\/[0-9]+\]/ { split($1, s, "[[/]"); if (s[2] % 100 == 0) print "   " $1; fflush() } /^FAILED|error:/ { print; fflush() }' >&2
[ "${PIPESTATUS[0]}" -eq 0 ]

step "installing into $windows_qt"
cmake --install "$work/build" >/dev/null
# Qt's licence and the notices of the code it bundles travel with dilmora.exe.
mkdir -p "$windows_qt/licences"
cp "$source_dir"/LICENSES/{LGPL-3.0-only,GPL-3.0-only}.txt "$windows_qt/licences/"
python3 tools/windows/qt-notices.py "$source_dir" "$windows_qt/licences/THIRD-PARTY-NOTICES.txt"
echo "$stamp" >"$windows_qt/dilmora-stamp"
echo "Qt for Windows is built in $windows_qt" >&2
