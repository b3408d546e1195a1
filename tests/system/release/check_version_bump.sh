#!/usr/bin/env bash
# A new version and release date in packaging/identity.cmake, and nowhere
# else, reach every artefact that carries them: a copy of the source tree with
# only those two lines changed is configured and built, and its .deb (file
# name, control, metainfo, changelog, manual page), the texts compiled into its
# program (the main window's title and greeting), its Windows version record
# and the art generator's lettering must carry the new ones and not the old.
#
#   bash tests/system/release/check_version_bump.sh <source folder> [jobs]
set -uo pipefail
source_dir=$(realpath "$1")
jobs=${2:-2}
version=7.42.1.3        # a minor of two digits and a patch level, unlike the real one
product="Dilmora 7.42"
date=2031-05-17
date_rfc2822="Sat, 17 May 2031"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
copy=$work/source
build=$work/build
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The working tree's files, committed or not, without build folders.
mkdir "$copy"
(cd "$source_dir" && git ls-files -z --cached --others --exclude-standard \
    | while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done \
    | tar --null -T - -cf -) | tar -C "$copy" -xf -
cmake -D IDENTITY_SH="$work/old-identity.sh" -P "$copy/packaging/identity.cmake"
old_product=$(source "$work/old-identity.sh" && echo "$product_name")
identity=$copy/packaging/identity.cmake
sed -i -e "s/^set(DILMORA_VERSION .*)/set(DILMORA_VERSION $version)/" \
    -e "s/^set(DILMORA_RELEASE_DATE [^ )]*)/set(DILMORA_RELEASE_DATE $date)/" "$identity"
grep -q "^set(DILMORA_VERSION $version)" "$identity" && grep -q "^set(DILMORA_RELEASE_DATE $date)" "$identity" \
    || { echo "FAIL: found no version or release date line to change in $identity" >&2; exit 1; }

if ! output=$(cmake -S "$copy" -B "$build" -G Ninja -DBUILD_TESTING=OFF -DDILMORA_BUILD_TOOLS=OFF 2>&1 \
    && cmake --build "$build" -j "$jobs" 2>&1 \
    && SOURCE_DATE_EPOCH=$(date -u -d "$date" +%s) bash "$copy/packaging/make-deb.sh" "$build" "$work/out" 2>&1); then
    echo "FAIL: building the bumped copy: $output" >&2
    exit 1
fi

deb=$work/out/dilmora_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL: no $deb; made: $(ls "$work/out")" >&2; exit 1; }
[ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "the .deb's Version is $(dpkg-deb --field "$deb" Version)"
root=$work/root
dpkg-deb --extract "$deb" "$root"
source "$build/identity.sh"
grep -q "<release version=\"$version\" date=\"$date\"/>" "$root/usr/share/metainfo/$application_id.metainfo.xml" \
    || fail "the metainfo lists no release $version of $date"
changelog=$(zcat "$root/usr/share/doc/dilmora/changelog.gz")
[[ "$(head -n 1 <<<"$changelog")" == "dilmora ($version) "* ]] || fail "the changelog starts: $(head -n 1 <<<"$changelog")"
grep -q "^ -- .*  $date_rfc2822 " <<<"$changelog" || fail "the changelog's entry is not dated $date_rfc2822"
zcat "$root/usr/share/man/man1/dilmora.1.gz" | grep -q "^\.TH DILMORA 1 \"$date\" \"$product\"" \
    || fail "the manual page's title line: $(zcat "$root/usr/share/man/man1/dilmora.1.gz" | grep '^\.TH')"

# The program shows the new name in its title and greeting, and the old nowhere.
program=$root/usr/bin/dilmora
for text in "$product" "Welcome to $product"; do
    grep -qaF -- "$text" "$program" || fail "the program carries no \"$text\""
done
! grep -qaF -- "$old_product" "$program" || fail "the program still carries \"$old_product\""

# The Windows version record, made on every platform.
rc=$build/packaging/dilmora.rc
grep -q "^FILEVERSION ${version//./,}$" "$rc" || fail "dilmora.rc: $(grep '^FILEVERSION' "$rc")"
grep -q "VALUE \"ProductName\", \"$product\"" "$rc" || fail "dilmora.rc names another product"
grep -q "VALUE \"FileVersion\", \"7.42\"" "$rc" || fail "dilmora.rc: $(grep '"FileVersion"' "$rc")"

# The art generator letters the greeting it is given (configured, not built).
if cmake -S "$copy/tools/artgen" -B "$work/artgen" -G Ninja >/dev/null 2>&1; then
    grep -qF -- "-DDILMORA_GREETING=\"\\\"Welcome to $product\\\"\"" "$work/artgen/build.ninja" \
        || fail "the art generator is not given the greeting \"Welcome to $product\""
else
    fail "the art generator does not configure on its own"
fi

[ "$failures" -eq 0 ] || exit 1
echo "version $version of $date reaches the .deb, the program's texts, the version record and the lettering"
