#!/usr/bin/env bash
# The program as built and as the .deb installs it is hardened as Debian's own
# programs are: hardening-check (devscripts) finds PIE, the stack protector,
# fortified libc calls, read-only relocations and immediate binding.
#
#   bash tests/system/release/check_hardening.sh <build folder of tools/package.sh> <.deb, or a folder holding one>
#
# Two of its verdicts need a word:
# - Control flow integrity (x86 IBT/SHSTK) is not asked for: the C start files
#   of Debian 12's glibc carry no such marking, so no program linked on Debian
#   12 has it, Debian's own (ls, cmake) neither.
# - Fortify: hardening-check passes it when the program calls a fortified libc
#   function and fails it when it finds only calls that were not. Dilmora's
#   only such calls are memcpy, memmove and memset into buffers whose size the
#   compiler cannot know (Qt's containers), which _FORTIFY_SOURCE leaves as
#   they are. For that verdict the test checks instead that every object of
#   the program was compiled with -D_FORTIFY_SOURCE and optimisation.
set -uo pipefail
build=$1
deb=$2
[ -d "$deb" ] && deb=$(ls "$deb"/dilmora_*.deb)
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
command -v hardening-check >/dev/null || { echo "FAIL: no hardening-check: apt-get install devscripts" >&2; exit 1; }

installed=$(mktemp -d)
trap 'rm -rf "$installed"' EXIT
dpkg-deb --extract "$deb" "$installed"

# The fortify exception holds only for calls to these, and only when every
# compile command of the program fortifies.
fortify_compiled() {
    local commands
    commands=$(ninja -C "$build" -t commands dilmora | grep -E -- ' -c ')
    [ -n "$commands" ] || return 1
    ! grep -v -E -- ' -D_FORTIFY_SOURCE=[23] ' <<<"$commands" | grep -q . || return 1
    ! grep -v -E -- ' -O[1-3s] ' <<<"$commands" | grep -q .
}

for program in "$build/dilmora" "$installed/usr/bin/dilmora"; do
    report=$(hardening-check --verbose --nocfprotection "$program" 2>&1)
    echo "$report"
    while IFS=: read -r check verdict; do
        check=${check# }
        case "$verdict" in
            " yes"* | " unknown"*) ;;
            *" (ignored)") [ "$check" = "Control flow integrity" ] || fail "$program: $check:$verdict" ;;
            " no, only unprotected functions found!")
                if [ "$check" != "Fortify Source functions" ]; then
                    fail "$program: $check:$verdict"
                elif grep -E '^	unprotected: ' <<<"$report" | grep -qvE ': (memcpy|memmove|memset)$'; then
                    fail "$program: unfortified calls besides memcpy, memmove and memset"
                elif ! fortify_compiled; then
                    fail "$program: not every object was compiled with -D_FORTIFY_SOURCE and -O"
                else
                    echo "  (Fortify Source: compiled with it; only memcpy, memmove, memset of sizes unknown at compile time)"
                fi
                ;;
            *) fail "$program: $check:$verdict" ;;
        esac
    done < <(grep -E '^ [A-Z][^:]+: ' <<<"$report")
done
[ "$failures" -eq 0 ] || exit 1
echo "hardened, as built and as installed"
