#!/usr/bin/env bash
# Makes the Debian package from a built build folder as tools/package.sh does
# (packaging/make-deb.sh) and lets lintian
# judge it: no error and no warning.
#
#   bash tests/system/release/check_lintian.sh <build folder>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../lib/needs.sh"
needs lintian
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
deb=$(bash "$(dirname "${BASH_SOURCE[0]}")/../../../packaging/make-deb.sh" "$1" "$out")
lintian --fail-on error,warning "$deb" 2> >(grep -v 'root privileges' >&2)
