# Sourced by scripts that start programs in the background:
#
#   source tests/system/lib/scratch.sh NAME
#
# makes a scratch folder, $work, and an empty list, pids, for the ids of the
# programs the script starts. When the script exits, the commands in
# at_exit run first (say, "wineserver -k"), then every program still in pids
# is ended and waited for, and $work is removed. forget PID takes an id off
# the list once its program has been waited for, so that no later program
# that gets the same id is ended.
work=$(mktemp -d "${TMPDIR:-/tmp}/dilmora-$1.XXXXXX")
pids=()
at_exit=()
end_scratch() {
    local pid command
    for command in "${at_exit[@]}"; do eval "$command" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
forget() {
    local kept=() pid
    for pid in "${pids[@]}"; do [ "$pid" = "$1" ] || kept+=("$pid"); done
    pids=("${kept[@]}")
}
trap end_scratch EXIT
