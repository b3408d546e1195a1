#!/usr/bin/env bash
# Builds the static Qt for Windows that dilmora.exe links, from Debian's own
# qt6-base source package, once per machine.
#
#   bash tools/windows/build-qt.sh
#   bash tools/windows/build-qt.sh --check        succeeds when the Qt is up to date
#   bash tools/windows/build-qt.sh --print-stamp  the stamp that an up-to-date Qt carries
#
# What it writes outside the work tree:
#   - the Qt itself in $DILMORA_WINDOWS_QT (default
#     /var/cache/dilmora/qt-6.4.2-mingw-static), with a stamp naming the source
#     version, its date and the options (packaging/windows/qt/); when the
#     stamp matches, nothing is rebuilt.
#     Every date that Qt's build writes (its resources carry their files'
#     times) is the date of Debian's qt6-base changelog entry, never the date
#     of whichever Dilmora commit happened to build the cache, so that every
#     machine has the same Qt for one qt6-base version.
#     It is built beside it in "<folder>.new" and moved into place only when
#     the build succeeded; a folder there without the stamp is never touched.
#   - where apt has no deb-src entry for bookworm main, the file
#     /etc/apt/sources.list.d/dilmora-deb-src.sources, which stays.
# Nothing is downloaded but Debian packages and Debian's source package.
set -eEuo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
source tools/lib/install-missing.sh
source tools/lib/windows.sh

step() { echo "== Qt for Windows: $*" >&2; current_step=$*; }
trap 'echo "Qt for Windows: failed while: ${current_step:-starting}" >&2' ERR
die() { echo "Qt for Windows: $*" >&2; exit 1; }

step "installing the cross compilers and host tools"
install_for windows-build

# The host tools (moc, rcc, uic) and the cross-built libraries must be the same
# Qt release, so the source is the exact version of the host's Qt.
version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
# The installed package's changelog has the source's newest entry first.
qt_date=$(zcat "/usr/share/doc/qt6-base-dev/changelog.Debian.gz" | dpkg-parsechangelog -l - -S Timestamp)
options_hash=$(cat packaging/windows/qt/qt-options.cmake packaging/windows/qt/mingw-toolchain.cmake | sha256sum | cut -c1-16)
stamp="qt6-base $version; dated $qt_date; options $options_hash"
# A Qt from before the record of what it was compiled from is built again.
record=$windows_qt/share/dilmora/record-$(sha256sum <packaging/windows/qt/qt-build-record.py | cut -c1-16)
up_to_date() { [ -f "$windows_qt/dilmora-stamp" ] && [ "$(cat "$windows_qt/dilmora-stamp")" = "$stamp" ] && [ -f "$record" ]; }
case "${1:-}" in
    "") ;;
    --print-stamp) echo "$stamp"; exit 0 ;;
    --check) if up_to_date; then exit 0; else exit 1; fi ;;
    *) die "usage: bash tools/windows/build-qt.sh [--check | --print-stamp]" ;;
esac
if up_to_date; then
    echo "Qt for Windows is up to date in $windows_qt" >&2
    exit 0
fi

# Before any work: the folder must be ours to replace, and writable.
step "checking that $windows_qt can be written"
staging=$windows_qt.new
if [ -e "$windows_qt" ] && [ ! -f "$windows_qt/dilmora-stamp" ]; then
    die "$windows_qt exists but was not made by this script; move it away or choose another folder with DILMORA_WINDOWS_QT=/some/folder"
fi
if [ -e "$staging" ] && [ ! -f "$staging/dilmora-staging" ]; then
    die "$staging exists but was not made by this script; move it away or choose another folder with DILMORA_WINDOWS_QT=/some/folder"
fi
parent=$(dirname "$windows_qt")
mkdir -p "$parent" 2>/dev/null && [ -w "$parent" ] ||
    die "cannot write to $parent; run as root or choose a writable folder with DILMORA_WINDOWS_QT=/some/folder"

step "fetching Debian's qt6-base $version source"
if ! apt-get source --print-uris qt6-base="$version" >/dev/null 2>&1; then
    # Without a deb-src entry for bookworm main, add one of our own.
    sudo=(); [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Adding /etc/apt/sources.list.d/dilmora-deb-src.sources (Debian's source packages)" >&2
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm' \
        'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
        "${sudo[@]}" tee /etc/apt/sources.list.d/dilmora-deb-src.sources >/dev/null
    "${sudo[@]}" apt-get update -qq
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/dilmora-qt.XXXXXX")
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source -qq qt6-base="$version" >/dev/null)
source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')
source_date=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Timestamp)
[ "$source_date" = "$qt_date" ] ||
    die "the qt6-base source is dated $source_date, the installed qt6-base-dev $qt_date"
export SOURCE_DATE_EPOCH=$qt_date

step "configuring (static, release, minimal)"
cmake -G Ninja -S "$source_dir" -B "$work/build" \
    -DDILMORA_QT_SOURCE="$source_dir" -DDILMORA_QT_BUILD="$work/build" \
    -C packaging/windows/qt/qt-options.cmake \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/packaging/windows/qt/mingw-toolchain.cmake" \
    -DCMAKE_INSTALL_PREFIX="$windows_qt" >"$work/configure.log" 2>&1 ||
    { tail -40 "$work/configure.log" >&2; false; }

step "compiling (tens of minutes)"
# Ninja's progress line, one line every hundred steps.
cmake --build "$work/build" -j "$(nproc)" 2>&1 | awk '/^\[[0-9]+\/[0-9]+\]/ { split($1, s, "[[/]"); if (s[2] % 100 == 0) print "   " $1; fflush() } /^FAILED|error:/ { print; fflush() }' >&2
[ "${PIPESTATUS[0]}" -eq 0 ]

step "installing into $staging"
if [ -e "$staging" ]; then rm -rf "$staging"; fi   # a failed earlier run's, marked as ours above
mkdir -p "$staging"
touch "$staging/dilmora-staging"
cmake --install "$work/build" --prefix "$staging" >/dev/null
# Qt's licences, every attribution file of its source and which source files
# each library and plugin was compiled from: the notices of dilmora.exe are
# made from these (packaging/windows/qt-notices.py).
step "recording the licences and what was compiled"
python3 packaging/windows/qt/qt-build-record.py "$source_dir" "$work/build" "$staging/share/dilmora"
touch "$staging/share/dilmora/$(basename "$record")"
mkdir -p "$staging/licences"
cp "$source_dir"/LICENSES/{LGPL-3.0-only,GPL-3.0-only}.txt "$staging/licences/"
echo "$stamp" >"$staging/dilmora-stamp"
rm "$staging/dilmora-staging"

step "moving it into $windows_qt"
if [ -e "$windows_qt" ]; then
    [ ! -e "$windows_qt.old" ] || die "$windows_qt.old is in the way; move it away"
    mv -T "$windows_qt" "$windows_qt.old"
    mv -T "$staging" "$windows_qt"
    rm -rf "$windows_qt.old"   # the stamped folder this script made earlier
else
    mv -T "$staging" "$windows_qt"
fi
echo "Qt for Windows is built in $windows_qt" >&2
