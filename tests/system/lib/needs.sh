# Sourced by checks that need tools of the build machine:
#
#   needs COMMAND...
#
# ends the check as skipped (exit code 77, CTest's SKIP_RETURN_CODE) when a
# command is missing, or as failed where DILMORA_REQUIRE_TOOLS=1: the README's
# test command installs every tool, so there a missing one is a fault.
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
