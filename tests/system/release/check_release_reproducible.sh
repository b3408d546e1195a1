#!/usr/bin/env bash
# The two releases of one commit that tests/system/release/release_build.sh made must be the
# same, file for file and byte for byte. Where they differ, diffoscope
# (installed from Debian when needed) says how.
#
#   bash tests/system/release/check_release_reproducible.sh <work folder of release_build.sh>
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../tools/lib/install-missing.sh"
one=$1/dist-1
two=$1/dist-2

names_one=$(cd "$one" && find . -type f | LC_ALL=C sort)
names_two=$(cd "$two" && find . -type f | LC_ALL=C sort)
if [ "$names_one" != "$names_two" ]; then
    echo "FAIL: the two releases hold different files:" >&2
    diff <(echo "$names_one") <(echo "$names_two") >&2
    exit 1
fi

differing=()
while read -r name; do
    cmp -s "$one/$name" "$two/$name" || differing+=("$name")
done <<<"$names_one"

echo "release 1 ($(readlink "$one")):"
sed 's/^/  /' "$one/SHA256SUMS"
if [ ${#differing[@]} -eq 0 ]; then
    echo "release 2 ($(readlink "$two")): the same $(wc -l <<<"$names_one") files, byte for byte"
    exit 0
fi
echo "release 2 ($(readlink "$two")):"
sed 's/^/  /' "$two/SHA256SUMS"
echo "FAIL: differ between the two builds: ${differing[*]}" >&2
install_for diff >&2
for name in "${differing[@]}"; do
    echo "--- diffoscope $name (first 150 lines)"
    diffoscope --no-progress --text - "$one/$name" "$two/$name" 2>&1 | head -n 150
done
exit 1
