#!/usr/bin/env bash
# Builds the Debian package from a configured build folder and lets lintian
# judge it: no error and no warning.
#
#   bash tests/check_lintian.sh <build folder>
set -euo pipefail
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$1" && cpack -G DEB -B "$out" >/dev/null)
lintian --fail-on error,warning "$out"/dilmora_*.deb 2> >(grep -v 'root privileges' >&2)
