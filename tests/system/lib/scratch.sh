# Sourced by scripts that start programs in the background:
#
#   source tests/system/lib/scratch.sh NAME
#
# makes a scratch folder, $work, and an empty list, pids, for the ids of the
# programs the script starts. When the script exits, every program still in
# pids is ended and waited for, and $work is removed.
work=$(mktemp -d "${TMPDIR:-/tmp}/dilmora-$1.XXXXXX")
pids=()
end_scratch() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap end_scratch EXIT
