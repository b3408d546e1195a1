#!/usr/bin/env bash
# Every relative link of the documentation (README.md, CONTRIBUTING.md,
# docs/*.md) leads somewhere: its file or folder exists in the tree, and its
# #anchor is a heading of the target, named as GitHub names headings. A link
# to a section that has moved to another file fails here.
#
#   bash tests/check_links.sh <source folder>
set -euo pipefail
cd "$1"
root=$(pwd -P)
# [:alnum:] and lower case know the Turkish letters only in a UTF-8 locale.
export LC_ALL=C.UTF-8
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Lines outside fenced code blocks, as "number<TAB>text", inline code removed.
prose() {
    awk '/^[[:space:]]*(```|~~~)/ { fenced = !fenced; next }
         !fenced { gsub(/`[^`]*`/, ""); print NR "\t" $0 }' "$1"
}

# The anchors of a Markdown file: each heading lower-cased, without
# punctuation, blanks turned into hyphens; a repeated one gets -1, -2, ...
anchors() {
    awk '/^[[:space:]]*(```|~~~)/ { fenced = !fenced; next }
         !fenced && /^#+[[:space:]]/ { sub(/^#+[[:space:]]+/, ""); sub(/[[:space:]]+#*[[:space:]]*$/, ""); print }' "$1" |
        sed -E 's/\[([^]]*)\]\([^)]*\)/\1/g; s/.*/\L&/; s/[^[:alnum:] _-]//g; s/ /-/g' |
        awk '{ n = seen[$0]++; print (n ? $0 "-" n : $0) }'
}

files=(README.md docs/*.md)
[ -f CONTRIBUTING.md ] && files+=(CONTRIBUTING.md)
links=0
for file in "${files[@]}"; do
    # Inline links and images, ](target) or ](target "title"), and reference
    # definitions, [label]: target.
    while IFS=$'\t' read -r line target; do
        case "$target" in
            '' | *://* | mailto:*) continue ;;
        esac
        links=$((links + 1))
        path=${target%%#*}
        anchor=
        [ "$path" = "$target" ] || anchor=${target#*#}
        if [ -z "$path" ]; then
            resolved=$root/$file
        elif [ "${path#/}" != "$path" ]; then
            resolved=$root$path
        else
            resolved=$(dirname "$root/$file")/$path
        fi
        resolved=$(realpath -m "$resolved")
        case "$resolved" in
            "$root" | "$root"/*) ;;
            *) fail "$file:$line: $target leads out of the tree"; continue ;;
        esac
        if [ ! -e "$resolved" ]; then
            fail "$file:$line: $target: no such file or folder"
        elif [ -n "$anchor" ]; then
            if [[ "$resolved" != *.md ]]; then
                fail "$file:$line: $target: an anchor in a file that is not Markdown"
            elif ! anchors "$resolved" | grep -qxF -- "$anchor"; then
                fail "$file:$line: $target: no heading #$anchor in ${resolved#"$root"/}"
            fi
        fi
    done < <(prose "$file" | awk -F'\t' '{
                 text = $2
                 if (match(text, /^ *\[[^]]+\]: */)) { target = substr(text, RLENGTH + 1); sub(/ .*/, "", target); print $1 "\t" target }
                 while (match(text, /\]\([^) ]*/)) { print $1 "\t" substr(text, RSTART + 2, RLENGTH - 2); text = substr(text, RSTART + RLENGTH) }
             }')
done

if [ "$failures" -gt 0 ]; then
    echo "$failures of $links links are broken" >&2
    exit 1
fi
echo "$links links in ${#files[@]} files hold"
