#!/usr/bin/env bash
# Makes Dilmora's .deb from a configured and built build folder, reproducibly:
# CPack works out the control file (the libraries' packages by dpkg-shlibdeps,
# the installed size, the checksums) and strips the program; dpkg-deb then
# packs the tree again in a fixed order, owned by root, with fixed modes and
# every time stamp at SOURCE_DATE_EPOCH (the commit's time unless it is set).
#
#   bash packaging/make-deb.sh <build folder> [output folder]   default: the build folder
#
# Prints the path of the .deb it wrote (dilmora_<version>_<architecture>.deb).
set -euo pipefail
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: bash packaging/make-deb.sh <build folder> [output folder]" >&2; exit 2; }
build=$(realpath "$1")
out=$(realpath "${2:-$1}")

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$source_dir" log -1 --format=%ct)
fi
export SOURCE_DATE_EPOCH

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
umask 022

(cd "$build" && cpack -G DEB -B "$work/cpack" >/dev/null)
dpkg-deb --raw-extract "$work"/cpack/dilmora_*.deb "$work/tree"
# Modes as Debian wants them, whatever the umask of the build was.
find "$work/tree" -path "$work/tree/DEBIAN" -prune -o -type d -exec chmod 0755 {} +
find "$work/tree" -type f -perm /u+x -path "$work/tree/usr/bin/*" -exec chmod 0755 {} +
find "$work/tree" -type f ! -path "$work/tree/usr/bin/*" -exec chmod 0644 {} +
chmod 0755 "$work/tree/DEBIAN"

mkdir -p "$out"
name=$(dpkg-deb --show --showformat='${Package}_${Version}_${Architecture}.deb' "$work"/cpack/dilmora_*.deb)
rm -f "$out/$name"
dpkg-deb --root-owner-group -Zxz --build "$work/tree" "$out/$name" >/dev/null
echo "$out/$name"
