#!/usr/bin/env bash
# The Debian packages that the scripts install all come from one list,
# tools/lib/packages.list: no script names a package of its own, every
# purpose that a script asks for is in the list, and every package in the
# list is one that apt knows (this machine's sources, Debian 12's).
#
#   bash tests/check_package_lists.sh <source folder>
set -euo pipefail
cd "$1"
source tools/lib/install-missing.sh
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

scripts=$(git ls-files '*.sh' '*.py' 2>/dev/null || find tools tests packaging -name '*.sh' -o -name '*.py')
# Installing goes through install_for PURPOSE... alone.
while IFS=: read -r file line text; do
    fail "$file:$line installs packages by name: $text"
done < <(grep -nE '^[^#"]*(install_missing|apt-get( -[^ ]+)* install)' $scripts | grep -v '^tools/lib/install-missing.sh:' || true)
purposes=$(grep -ohE 'install_for( [a-z0-9-]+)+' $scripts | cut -d' ' -f2- | tr ' ' '\n' | sort -u)
for purpose in $purposes; do
    packages_for "$purpose" >/dev/null 2>&1 || fail "no purpose \"$purpose\" in tools/lib/packages.list"
done
# Every purpose in the list, and every package in it.
all=$(sed -n 's/^\([a-z0-9-]*\):.*/\1/p' tools/lib/packages.list | sort -u)
listed=$(packages_for $all | sort -u)
known=$(apt-cache show --no-all-versions $listed 2>/dev/null | sed -n 's/^Package: //p' | sort -u)
unknown=$(comm -23 <(echo "$listed") <(echo "$known"))
[ -z "$unknown" ] || fail "not in this machine's Debian archive: $(echo $unknown)"
[ "$failures" -eq 0 ] && echo "$(packages_for $all | wc -l) packages in $(wc -w <<<"$all") purposes, all known to apt"
