#!/usr/bin/env bash
# Checks the desktop entry and the AppStream metainfo that the build makes:
# both validate, and they say what Dilmora is, where it is and which version.
#
#   bash tests/system/release/check_packaging_metadata.sh <build>/packaging <project version>
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../lib/needs.sh"
needs desktop-file-validate appstreamcli

folder=$1
version=$2
id=$(source "$folder/../identity.sh" && echo "$application_id")
desktop=$folder/$id.desktop
metainfo=$folder/$id.metainfo.xml
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

for file in "$desktop" "$metainfo"; do
    [ -f "$file" ] || { echo "FAIL: the build made no $file" >&2; exit 1; }
done

# desktop-file-validate exits 0 on warnings; a desktop citizen has none.
if ! output=$(desktop-file-validate "$desktop" 2>&1); then
    fail "desktop-file-validate rejects $desktop: $output"
elif grep -qiE '(error|warning):' <<<"$output"; then
    fail "desktop-file-validate warns about $desktop: $output"
fi

if ! output=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1); then
    fail "appstreamcli rejects $metainfo: $output"
fi

# A key of the [Desktop Entry] group has exactly the expected value.
check_entry() {
    local key=$1 expected=$2 actual
    actual=$(sed -n '/^\[Desktop Entry\]$/,/^\[/p' "$desktop" | grep -E -m1 "^$(sed 's/[][]/\\&/g' <<<"$key")=" | cut -d= -f2-)
    [ "$actual" = "$expected" ] || fail "$key is '$actual', expected '$expected'"
}

check_entry Type Application
check_entry Name Dilmora
check_entry Exec dilmora
check_entry Icon "$id"
check_entry Terminal false
check_entry StartupWMClass dilmora
check_entry Categories 'Education;Languages;'
check_entry Comment 'English reference for Turkish speakers who learn English'
check_entry 'Comment[tr]' 'İngilizce öğrenen Türkçe konuşanlar için İngilizce başvuru kaynağı'

# The metainfo names the same application, its desktop entry, its program and this version.
check_xml() {
    local what=$1 pattern=$2
    grep -qE "$pattern" "$metainfo" || fail "the metainfo lacks $what ($pattern)"
}
check_xml "the id" "<id>$id</id>"
check_xml "the launchable desktop entry" "<launchable type=\"desktop-id\">$id\\.desktop</launchable>"
check_xml "the program" '<binary>dilmora</binary>'
check_xml "the MIT licences" '<project_license>MIT</project_license>'
check_xml "the release $version" "<release version=\"${version//./\\.}\" date=\"[0-9]{4}-[0-9]{2}-[0-9]{2}\"/>"
check_xml "a Turkish summary" '<summary xml:lang="tr">[^<]+</summary>'
grep -q '@[A-Z_]*@' "$desktop" "$metainfo" && fail "a template variable was left unreplaced"

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "desktop entry and metainfo are valid"
