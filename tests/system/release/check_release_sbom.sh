#!/usr/bin/env bash
# The release's SBOMs are valid SPDX 2.3 and name each artefact beside them by
# its SHA-256, as SHA256SUMS does (packaging/sbom.py check); and the check sees a
# changed artefact.
#
#   bash tests/system/release/check_release_sbom.sh <release folder: build/dist/<version>>
set -uo pipefail
dist=$1
sbom=$(dirname "${BASH_SOURCE[0]}")/../../../packaging/sbom.py
/usr/bin/python3 "$sbom" check "$dist" || exit 1
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || { echo "FAIL: sha256sum -c SHA256SUMS" >&2; exit 1; }

changed=$(mktemp -d)
trap 'rm -rf "$changed"' EXIT
cp -r "$dist"/. "$changed"
deb=$(ls "$changed"/*.deb)
printf 'x' | dd of="$deb" bs=1 seek=100 conv=notrunc status=none
if /usr/bin/python3 "$sbom" check "$changed" >/dev/null 2>&1; then
    echo "FAIL: the check takes a changed .deb for the one its SBOM names" >&2
    exit 1
fi
