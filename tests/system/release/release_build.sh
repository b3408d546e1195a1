#!/usr/bin/env bash
# Makes the release of the commit HEAD twice, with tools/release.sh, for the
# tests that compare and check it: two copies of the commit in two folders of
# different lengths, built one after the other, the second with another umask,
# time zone and locale. Uncommitted changes are not part of it.
#
#   bash tests/system/release/release_build.sh <source folder> <work folder> [release.sh options]
#
# Leaves <work folder>/dist-1 and dist-2, links to each copy's build/dist/<version>.
set -euo pipefail
source_dir=$1
work=$2
shift 2

# The work folder is this script's own; anything else there is left alone.
stamp=$work/.made-by-release-build
if [ -e "$work" ]; then
    [ -f "$stamp" ] || { echo "$work exists and was not made by $0" >&2; exit 1; }
    rm -rf "$work"
fi
mkdir -p "$work"
touch "$stamp"

commit=$(git -C "$source_dir" rev-parse HEAD)
git -C "$source_dir" diff --quiet HEAD -- || echo "Note: releasing the commit $commit, without the uncommitted changes"
folders=("$work/a" "$work/second-copy-in-a-longer-folder")
for folder in "${folders[@]}"; do
    git init --quiet "$folder"
    git -C "$folder" fetch --quiet --depth 1 "file://$(realpath "$source_dir")" "$commit"
    git -C "$folder" checkout --quiet --detach FETCH_HEAD
done

release() {  # <number> <folder> [environment...]
    local number=$1 folder=$2 started
    shift 2
    started=$(date +%s)
    if ! (cd "$folder" && env "$@" bash tools/release.sh "${options[@]}") >"$work/release-$number.log" 2>&1; then
        tail -n 40 "$work/release-$number.log" >&2
        echo "FAILED: release $number in $folder (log: $work/release-$number.log)" >&2
        exit 1
    fi
    ln -s "$(ls -d "$folder"/build/dist/*/)" "$work/dist-$number"
    echo "release $number: $folder, $(($(date +%s) - started)) s"
}
options=("$@")
release 1 "${folders[0]}"
sleep 2
umask 0002
release 2 "${folders[1]}" TZ=Asia/Tokyo LC_ALL=C.UTF-8
