#!/usr/bin/env bash
# Makes a release of the commit that is checked out, on a Debian 12 machine:
#
#   bash tools/release.sh                as root: install what is missing, build everything
#   bash tools/release.sh --linux-only   the .deb and the source only
#
# writes build/dist/<version>/:
#   dilmora_<version>_amd64.deb          the Debian package (tools/package.sh), hardened
#   Dilmora-<version>-setup.exe          the Windows installer   } tools/windows/build.sh, with the
#   dilmora.exe                          the portable program    } Qt for Windows it has cached
#   dilmora-<version>.tar.gz             the commit's source (git archive)
#   <artefact>.spdx.json                 an SPDX 2.3 bill of materials per binary artefact
#   SHA256SUMS                           for sha256sum -c SHA256SUMS
#
# Every artefact depends on the commit alone: built again from the same commit,
# in another folder and at another time, they have the same bytes
# (tests/system/release/check_release_reproducible.sh proves it). The tracked files must be
# as committed. A folder for the same version from an earlier run is replaced.
# It builds in folders of its own (build/package, build/release-windows),
# configured afresh. With DILMORA_SIGN_PKCS12 (packaging/windows/sign.sh) the
# Windows programs must carry that certificate's signature, or nothing is
# released.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source tools/lib/install-missing.sh

windows=1
case "${1:-}" in
    "") ;;
    --linux-only) windows=0 ;;
    *) echo "usage: bash tools/release.sh [--linux-only]" >&2; exit 2 ;;
esac

install_for release

if ! git diff --quiet HEAD --; then
    echo "The tracked files differ from the commit; commit them (or stash them) first:" >&2
    git status --short --untracked-files=no >&2
    exit 1
fi
commit=$(git rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH

identity=build/dist/identity.sh
mkdir -p build/dist
cmake -D IDENTITY_SH="$identity" -P packaging/identity.cmake
source "$identity"   # version, internal_name, ...
dist=build/dist/$version
staging=build/dist/.$version.partial
rm -rf "$staging"
mkdir -p "$staging"
echo "Release $version of commit $commit (committed $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC'))"

# The .deb.
deb=$(bash tools/package.sh build/package)
cp "$deb" "$staging/"
/usr/bin/python3 packaging/sbom.py deb "$staging/$(basename "$deb")" "$identity" >"$staging/$(basename "$deb").spdx.json"

# The Windows installer and portable program, and what they link.
if [ "$windows" -eq 1 ]; then
    windows_build=build/release-windows
    bash tools/windows/build.sh "$windows_build"
    program=$windows_build/dilmora.exe
    installer=$windows_build/$internal_name-$version-setup.exe
    for file in "$program" "$installer"; do bash packaging/windows/sign.sh --check "$file"; done
    # What the notices generator found linked in; DILMORA_WINDOWS_COMPONENTS names another list.
    components=${DILMORA_WINDOWS_COMPONENTS:-$windows_build/packaging/windows/licences/components.json}
    [ -f "$components" ] || { echo "No $components: the Windows build lists no linked components" >&2; exit 1; }
    # The Debian source package that the cached Qt was built from, in its stamp.
    source tools/lib/windows.sh
    qt_source=$(sed -n 's/^\(qt6-base [^;]*\);.*/\1/p' "$windows_qt/dilmora-stamp" | head -n 1)
    [ -n "$qt_source" ] || { echo "$windows_qt/dilmora-stamp names no qt6-base version" >&2; exit 1; }
    cp "$program" "$installer" "$staging/"
    /usr/bin/python3 packaging/sbom.py windows "$staging/dilmora.exe" "$identity" "$components" "$qt_source" \
        >"$staging/dilmora.exe.spdx.json"
    /usr/bin/python3 packaging/sbom.py windows "$staging/$(basename "$installer")" "$identity" "$components" "$qt_source" \
        "$staging/dilmora.exe" >"$staging/$(basename "$installer").spdx.json"
fi

# The source: the commit's files as git has them, in a fixed order, with the
# commit's time, owner root and modes from a fixed umask.
source_name=dilmora-$version
git -c tar.umask=0022 archive --format=tar --prefix="$source_name/" "$commit" | gzip -9 -n >"$staging/$source_name.tar.gz"

(cd "$staging" && LC_ALL=C ls | grep -vx SHA256SUMS | xargs -d '\n' sha256sum -- >SHA256SUMS)
(cd "$staging" && sha256sum --quiet -c SHA256SUMS)
/usr/bin/python3 packaging/sbom.py check "$staging"

# Replace an earlier run's folder, but nothing else.
if [ -e "$dist" ]; then
    if [ ! -f "$dist/SHA256SUMS" ]; then
        echo "$dist exists and was not made by this script; move it away first" >&2
        exit 1
    fi
    rm -rf "$dist"
fi
mv "$staging" "$dist"
echo "Release $version in $dist:"
(cd "$dist" && ls -l --time-style=+ | tail -n +2 | awk '{printf "  %10s  %s\n", $5, $NF}')
