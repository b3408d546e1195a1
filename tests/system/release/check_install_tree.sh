#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks the tree: exactly the
# program, the desktop entry, the metainfo, the icons and the licence, each at
# its place, and a tree that AppStream accepts as a whole.
#
#   bash tests/system/release/check_install_tree.sh <build folder> <source folder>
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../lib/needs.sh"
needs desktop-file-validate appstreamcli

build=$1
source=$2
id=$(source "$build/identity.sh" && echo "$application_id")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
prefix=$root/usr
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! output=$(cmake --install "$build" --prefix "$prefix" 2>&1); then
    echo "FAIL: cmake --install: $output" >&2
    exit 1
fi

expected=(
    "bin/dilmora"
    "share/applications/$id.desktop"
    "share/doc/dilmora/changelog.gz"
    "share/doc/dilmora/copyright"
    "share/icons/hicolor/16x16/apps/$id.png"
    "share/icons/hicolor/32x32/apps/$id.png"
    "share/icons/hicolor/48x48/apps/$id.png"
    "share/icons/hicolor/64x64/apps/$id.png"
    "share/icons/hicolor/128x128/apps/$id.png"
    "share/icons/hicolor/256x256/apps/$id.png"
    "share/icons/hicolor/scalable/apps/$id.svg"
    "share/man/man1/dilmora.1.gz"
    "share/metainfo/$id.metainfo.xml"
)
actual=$(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort)
wanted=$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)
if [ "$actual" != "$wanted" ]; then
    fail "the installed files differ from the expected ones:"
    diff <(echo "$wanted") <(echo "$actual") | sed -n 's/^[<>]/    &/p' >&2
fi

program=$prefix/bin/dilmora
[ -x "$program" ] || fail "bin/dilmora is not executable"
[ "$(head -c 4 "$program" | od -An -c | tr -d ' ')" = '177ELF' ] || fail "bin/dilmora is no ELF program"
if readelf -d "$program" 2>/dev/null | grep -qE "\((RPATH|RUNPATH)\)"; then
    fail "bin/dilmora searches for libraries in: $(readelf -d "$program" | grep -E "\((RPATH|RUNPATH)\)")"
fi

# A PNG's IHDR holds its width and height as big-endian 32-bit numbers at bytes 16 and 20.
png_size() {
    local width height
    width=$(od -An -tu1 -j16 -N4 "$1" | awk '{print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4}')
    height=$(od -An -tu1 -j20 -N4 "$1" | awk '{print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4}')
    echo "${width}x${height}"
}
for size in 16 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ -f "$icon" ] || continue
    [ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || fail "$icon is no PNG"
    [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "$icon is $(png_size "$icon"), expected ${size}x${size}"
    cmp -s "$icon" "$source/packaging/icons/dilmora-$size.png" || fail "$icon is not packaging/icons/dilmora-$size.png"
done
svg=$prefix/share/icons/hicolor/scalable/apps/$id.svg
cmp -s "$svg" "$source/packaging/icons/dilmora.svg" || fail "$svg is not packaging/icons/dilmora.svg"
if command -v xmllint >/dev/null; then
    xmllint --noout "$svg" 2>/dev/null || fail "$svg is not well-formed XML"
fi
cmp -s "$prefix/share/doc/dilmora/copyright" "$source/LICENSE" || fail "the installed copyright is not LICENSE"

# The desktop entry starts the installed program and shows the installed icon.
desktop=$prefix/share/applications/$id.desktop
if [ -f "$desktop" ]; then
    exec_line=$(grep -m1 '^Exec=' "$desktop" | cut -d= -f2- | cut -d' ' -f1)
    [ -x "$prefix/bin/$exec_line" ] || fail "Exec=$exec_line is not an installed program"
    icon_line=$(grep -m1 '^Icon=' "$desktop" | cut -d= -f2-)
    [ -f "$prefix/share/icons/hicolor/48x48/apps/$icon_line.png" ] || fail "Icon=$icon_line is not an installed icon"
    desktop-file-validate "$desktop" >/dev/null 2>&1 || fail "the installed desktop entry does not validate"
fi

# The metainfo, the desktop entry it launches and the icons, checked together.
if ! output=$(appstreamcli validate-tree --no-net --no-color "$root" 2>&1); then
    fail "appstreamcli rejects the installed tree: $output"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "the installed tree is complete"
