# Sourced by checks that need tools of the build machine:
#
#   needs COMMAND...
#
# ends the check as skipped (exit code 77, CTest's SKIP_RETURN_CODE) when a
# command is missing, or as failed where DILMORA_REQUIRE_TOOLS=1: the README's
# test command installs every tool, so there a missing one is a fault.
#
# Run as a command, it puts the same rule in front of a test program that
# starts such tools itself:
#
#   bash tests/system/lib/needs.sh COMMAND... -- PROGRAM [ARGUMENT...]
needs() {
    local missing=() command
    for command in "$@"; do command -v "$command" >/dev/null || missing+=("$command"); done
    [ ${#missing[@]} -gt 0 ] || return 0
    if [ "${DILMORA_REQUIRE_TOOLS:-0}" = 1 ]; then
        echo "FAIL: missing ${missing[*]} (tools/lib/packages.list names the packages)" >&2
        exit 1
    fi
    echo "SKIPPED: needs ${missing[*]}" >&2
    exit 77
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    commands=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        commands+=("$1")
        shift
    done
    [ $# -gt 1 ] || { echo "usage: bash needs.sh COMMAND... -- PROGRAM [ARGUMENT...]" >&2; exit 2; }
    shift
    needs "${commands[@]}"
    "$@"
    status=$?
    # Only a missing tool is a skip: a Qt Test program that fails 77 checks fails.
    [ "$status" -ne 77 ] || status=1
    exit "$status"
fi
