#!/usr/bin/env bash
# Runs a command in a throwaway, minimal Debian 12, as a newcomer's brand-new
# machine would run it: does my change build on a clean machine?
#
#   bash tools/clean-room.sh [OPTION...] [--] [COMMAND...]
#
#   e.g. bash tools/clean-room.sh bash tools/build.sh run
#        bash tools/clean-room.sh              a shell in the room
#
# COMMAND runs as root in /root/dilmora, a fresh clone of this repository's
# HEAD: what is committed, and nothing else. The room is Debian 12's minimal
# base (debootstrap --variant=minbase) with its updates, ca-certificates and
# git; whatever else the command needs, the project's scripts must install.
# It sees its own /dev, /proc, /sys, /tmp and /run, a clean environment (HOME,
# PATH, LANG=C.UTF-8 and TERM; no display), and this machine's network. All it
# writes goes to an overlay that is thrown away when it ends.
#
#   --no-deb-cache      download every package afresh. By default the .debs
#                       that apt downloads are kept for the next run (apt
#                       still checks them against the archive's signatures).
#   --in-memory         keep the overlay in memory (tmpfs): throwing it away
#                       is instant, where removing its files from disk can
#                       take a while. For commands that write a few GB at most.
#   --share-windows-qt  lend the room this machine's static Qt for Windows,
#                       read-only, so that the Windows build does not build it
#
# Everything lives in /var/cache/dilmora/clean-room: root/ is the room's base,
# built once from the Debian archive this machine's apt uses, and built again
# when it is older than two weeks; apt-archives/ holds the kept .debs; run.*/
# holds one run's overlay and is removed when the run ends. The script removes
# only folders that carry its mark, a file named .dilmora-clean-room.
#
# The room's processes run in a pid namespace of their own and its mounts in a
# mount namespace of their own. When the command ends, or the script is
# interrupted, whatever still runs in the room is ended by its id and the
# room's mounts are removed. The script prints the command's wall time and exit
# code, and exits with that code. Needs root, debootstrap and util-linux.
set -euo pipefail

self=$(readlink -f "${BASH_SOURCE[0]}")
base=/var/cache/dilmora/clean-room
mark=.dilmora-clean-room
windows_qt=/var/cache/dilmora/qt-6.4.2-mingw-static
max_age_days=14
path=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin

say() { echo "clean room: $*" >&2; }

# ---------------------------------------------------------------------------
# Inside the namespaces. The script calls itself as the first process ("init")
# of a new pid namespace, with a mount namespace of its own; room_* variables
# say what to do. It mounts the room, runs the command in it and waits for it,
# ends by id whatever the command left running, and unmounts what it mounted,
# in reverse order. Should it be killed instead, the kernel ends every process
# of the namespace with it, and the mounts go with the namespace.
# ---------------------------------------------------------------------------
mounted=()
mount_in_room() {  # mount_in_room TARGET MOUNT-ARGUMENT...
    local target=$1
    shift
    mount "$@" "$target"
    mounted+=("$target")
}

unmount_room() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" || say "could not unmount ${mounted[i]}"
    done
    mounted=()
}

# The pids of the namespace's processes but this one (and the subshell that
# lists them), zombies left out.
others() {
    local entry pid stat
    for entry in /proc/[0-9]*; do
        pid=${entry#/proc/}
        [ "$pid" -ne $$ ] && [ "$pid" -ne "$BASHPID" ] || continue
        { stat=$(<"$entry/stat"); } 2>/dev/null || continue
        stat=${stat##*) }  # the state follows the program's name: "pid (name) S ..."
        [ "${stat%% *}" = Z ] || echo "$pid"
    done
}

# Asks every other process of the namespace to end, and after 5 s makes it.
end_others() {
    local pids tries=0
    mapfile -t pids < <(others)
    [ ${#pids[@]} -gt 0 ] || return 0
    kill -TERM "${pids[@]}" 2>/dev/null || true
    while mapfile -t pids < <(others) && [ ${#pids[@]} -gt 0 ] && [ $tries -lt 50 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
    while [ ${#pids[@]} -gt 0 ]; do
        kill -KILL "${pids[@]}" 2>/dev/null || true
        sleep 0.1
        mapfile -t pids < <(others)
    done
}

# /dev holds what a program expects of a machine, and no disks; /dev/pts is an
# instance of the room's own.
mount_dev() {
    local dev=$1/dev node
    mount_in_room "$dev" -t tmpfs -o mode=0755,nosuid,size=1m dev
    for node in null zero full random urandom tty; do
        touch "$dev/$node"
        mount_in_room "$dev/$node" --bind "/dev/$node"
    done
    mkdir "$dev/pts" "$dev/shm"
    mount_in_room "$dev/pts" -t devpts -o newinstance,ptmxmode=0666,mode=0620,gid=5,nosuid,noexec devpts
    mount_in_room "$dev/shm" -t tmpfs -o mode=1777,nosuid,nodev shm
    ln -s pts/ptmx "$dev/ptmx"
    ln -s /proc/self/fd "$dev/fd"
    ln -s /proc/self/fd/0 "$dev/stdin"
    ln -s /proc/self/fd/1 "$dev/stdout"
    ln -s /proc/self/fd/2 "$dev/stderr"
}

# inside COMMAND...: with room_dir empty, runs COMMAND here; otherwise in a
# chroot into room_dir, which is first made an overlay over room_lower (when
# set), given a clone of room_repository at room_head (when set), and the
# system's mounts.
inside() {
    local status=0 dir=${room_dir:-} workdir=/root layers
    on_signal() {
        trap '' INT TERM HUP
        say "interrupted; ending what runs in the room"
        exit "$1"
    }
    trap 'end_others; unmount_room' EXIT
    trap 'on_signal 130' INT
    trap 'on_signal 143' TERM
    trap 'on_signal 129' HUP

    if [ -z "$dir" ]; then
        env --default-signal=INT,QUIT "$@" <&0 &
    else
        if [ -n "${room_lower:-}" ]; then
            layers=$room_scratch/layers
            mkdir "$layers"
            [ -z "${room_in_memory:-}" ] || mount_in_room "$layers" -t tmpfs -o mode=0700 layers
            mkdir "$layers/upper" "$layers/work"
            mount_in_room "$dir" -t overlay -o "lowerdir=$room_lower,upperdir=$layers/upper,workdir=$layers/work" room
        fi
        if [ -n "${room_repository:-}" ]; then
            workdir=/root/dilmora
            git clone --quiet --no-hardlinks "$room_repository" "$dir$workdir"
            git -C "$dir$workdir" checkout --quiet --detach "$room_head"
        fi
        mount_in_room "$dir/proc" -t proc -o nosuid,nodev,noexec proc
        mount_in_room "$dir/sys" -t sysfs -o ro,nosuid,nodev,noexec sysfs
        mount_dev "$dir"
        mount_in_room "$dir/tmp" -t tmpfs -o mode=1777,nosuid,nodev tmp
        mount_in_room "$dir/run" -t tmpfs -o mode=0755,nosuid,nodev run
        [ -z "${room_debs:-}" ] || mount_in_room "$dir/var/cache/apt/archives" --bind "$room_debs"
        if [ -n "${room_windows_qt:-}" ]; then
            mkdir -p "$dir$room_windows_qt"
            mount_in_room "$dir$room_windows_qt" --bind -o ro "$room_windows_qt"
        fi
        cp -L /etc/resolv.conf "$dir/etc/resolv.conf"
        local environment=(HOME=/root "PATH=$path" LANG=C.UTF-8)
        [ -z "${room_term:-}" ] || environment+=("TERM=$room_term")
        env --default-signal=INT,QUIT chroot "$dir" /usr/bin/env -i "${environment[@]}" \
            /bin/bash -c 'cd "$0" && exec "$@"' "$workdir" "$@" <&0 &
    fi
    # In the background, so that a signal's trap runs at once. A background
    # command's stdin would be /dev/null, and it would ignore Ctrl-C: both are
    # given back.
    wait $! || status=$?

    local left
    mapfile -t left < <(others)
    if [ ${#left[@]} -gt 0 ]; then
        trap '' INT TERM HUP
        say "the command left these running; ending them:"
        ps -o pid=,args= -p "$(IFS=,; echo "${left[*]}")" >&2 || true
    fi
    exit "$status"
}

if [ "${1:-}" = --inside ]; then
    # Only as a new pid namespace's init: others() lists the namespace's processes.
    [ $$ -eq 1 ] || { say "--inside is for the script's own use"; exit 2; }
    shift
    inside "$@"
fi

# ---------------------------------------------------------------------------
# On this machine.
# ---------------------------------------------------------------------------
usage() {
    echo "usage: bash tools/clean-room.sh [--no-deb-cache] [--in-memory] [--share-windows-qt] [--] [COMMAND...]" >&2
    exit 2
}

share_debs=yes
in_memory=
share_windows_qt=
while [ $# -gt 0 ]; do
    case "$1" in
        --no-deb-cache) share_debs= ;;
        --in-memory) in_memory=yes ;;
        --share-windows-qt) share_windows_qt=yes ;;
        --) shift; break ;;
        -*) usage ;;
        *) break ;;
    esac
    shift
done
[ $# -gt 0 ] || set -- bash

[ "$(id -u)" -eq 0 ] || { say "must run as root: it mounts, and builds a Debian root"; exit 2; }
command -v debootstrap >/dev/null || {
    say "needs debootstrap: apt-get install --no-install-recommends debootstrap"
    exit 2
}
if [ -n "$share_windows_qt" ] && [ ! -d "$windows_qt" ]; then
    say "there is no $windows_qt to share"
    exit 2
fi
repository=$(git -C "$(dirname "$self")" rev-parse --show-toplevel)
head=$(git -C "$repository" rev-parse HEAD)

# unshare's pid while a room runs. Its one child is the room's init: ended by
# its id, it takes every other process of the room with it.
room_pid=
end_room() {
    local init tries=0
    [ -n "$room_pid" ] || return 0
    init=
    read -r init <"/proc/$room_pid/task/$room_pid/children" 2>/dev/null || true  # "pid ", no newline
    if [ -n "$init" ]; then
        kill -TERM "$init" 2>/dev/null || true
        while kill -0 "$init" 2>/dev/null && [ $tries -lt 100 ]; do
            sleep 0.1
            tries=$((tries + 1))
        done
        kill -KILL "$init" 2>/dev/null || true
    fi
    wait "$room_pid" 2>/dev/null || true
    room_pid=
}

# in_namespaces COMMAND...: runs `inside COMMAND...` as the init of new pid and
# mount namespaces, with the caller's room_* settings, and returns its exit
# code. Should this script die, even by SIGKILL, unshare is killed
# (--pdeathsig), and with it the room's init (--kill-child).
in_namespaces() {
    local status=0
    env --default-signal=INT,QUIT setpriv --pdeathsig KILL \
        unshare --mount --pid --fork --kill-child --mount-proc \
        bash "$self" --inside "$@" <&0 {lock}>&- &
    room_pid=$!
    wait "$room_pid" || status=$?
    room_pid=
    return $status
}

# remove_ours FOLDER: removes a folder this script made, and only such a one,
# and never while anything is mounted in it.
remove_ours() {
    local folder=$1
    [ -e "$folder" ] || return 0
    if [ ! -f "$folder/$mark" ]; then
        say "$folder lacks the mark $mark: not made here, left alone"
        return 1
    fi
    if findmnt -rno TARGET | grep -q "^$folder\(/\|$\)"; then
        say "$folder has mounts in it: left alone"
        return 1
    fi
    rm -rf --one-file-system "$folder"
}

# "MIRROR SECURITY-MIRROR": the Debian archive and its security archive that
# this machine's apt uses (as apt itself reads /etc/apt/sources.list and
# sources.list.d), deb.debian.org where it names none.
debian_mirrors() {
    local mirror=http://deb.debian.org/debian security=http://deb.debian.org/debian-security
    local target_of origin release site
    while read -r target_of origin release site; do
        [ "$target_of" = deb ] && [ "$origin" = Debian ] || continue
        case "$release" in
            bookworm) mirror=$site ;;
            bookworm-security) security=$site ;;
        esac
    done < <(apt-get indextargets --format '$(TARGET_OF) $(ORIGIN) $(RELEASE) $(SITE)' 2>/dev/null | sort -u)
    echo "$mirror $security"
}

root_is_fresh() {
    [ -f "$base/root/$mark" ] && [ -n "$(find "$base/root/$mark" -mtime -$max_age_days)" ]
}

# Builds the root in root.new, and moves it into place only when it is
# complete. Runs while no run uses the old root.
build_root() {
    local new=$base/root.new log=$base/root.log mirror security started=$SECONDS
    read -r mirror security < <(debian_mirrors)
    remove_ours "$new"
    mkdir "$new"
    echo "Made by tools/clean-room.sh, which removes it when it builds a newer one." >"$new/$mark"
    trap 'end_room; remove_ours "$new"' EXIT
    say "building the room's Debian 12 from $mirror (a few minutes; log in $log)"
    room_dir='' in_namespaces debootstrap --variant=minbase --include=ca-certificates,git \
        bookworm "$new" "$mirror" >"$log" 2>&1 || {
        say "debootstrap failed; the end of $log:"
        tail -n 20 "$log" >&2
        exit 1
    }
    cat >"$new/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb $security bookworm-security main
EOF
    # apt keeps what it downloads, whichever front end: the runs share it.
    rm -f "$new/etc/apt/apt.conf.d/docker-clean"
    cat >"$new/etc/apt/apt.conf.d/50keep-downloads" <<EOF
APT::Keep-Downloaded-Packages "true";
Binary::apt::APT::Keep-Downloaded-Packages "true";
EOF
    room_dir=$new room_lower='' room_repository='' room_debs='' room_windows_qt='' room_term='' \
        in_namespaces bash -c 'export DEBIAN_FRONTEND=noninteractive
            apt-get update -qq && apt-get upgrade -y -qq && apt-get clean' >>"$log" 2>&1 || {
        say "updating the new root failed; the end of $log:"
        tail -n 20 "$log" >&2
        exit 1
    }
    touch "$new/$mark"
    if [ -e "$base/root" ]; then
        remove_ours "$base/root.old"
        mv "$base/root" "$base/root.old"
        mv "$new" "$base/root"
        remove_ours "$base/root.old"
        # The kept .debs are the old root's versions.
        [ ! -f "$base/apt-archives/$mark" ] || rm -f "$base/apt-archives/"*.deb
    else
        mv "$new" "$base/root"
    fi
    trap - EXIT
    say "built the root in $((SECONDS - started)) s"
}

if [ ! -d "$base/apt-archives" ]; then
    mkdir -p "$base/apt-archives/partial"
    echo "Made by tools/clean-room.sh: the .debs its rooms downloaded, emptied when it builds a new root." >"$base/apt-archives/$mark"
fi
# Runs share the root; a new one is built while no run uses the old.
exec {lock}>>"$base/lock"
if flock -xn "$lock"; then
    # No other run: what an interrupted run left behind can go.
    for leftover in "$base"/run.*; do
        remove_ours "$leftover" || true
    done
fi
flock -s "$lock"
if ! root_is_fresh; then
    flock -x "$lock"
    root_is_fresh || build_root
    flock -s "$lock"
fi

if [ -n "$(git -C "$repository" status --porcelain)" ]; then
    say "the working tree has uncommitted changes; the room gets only the commit"
fi

run=$(mktemp -d "$base/run.XXXXXX")
echo "Made by tools/clean-room.sh for one run, and removed when it ends." >"$run/$mark"
mkdir "$run/room"
trap 'end_room; remove_ours "$run"' EXIT

export room_dir=$run/room room_lower=$base/root room_scratch=$run
export room_in_memory=$in_memory room_repository=$repository room_head=$head
export room_debs=${share_debs:+$base/apt-archives}
export room_windows_qt=${share_windows_qt:+$windows_qt}
export room_term=${TERM:-}
say "running $* in a clean clone of $(git -C "$repository" rev-parse --short HEAD)"
status=0
started=$(date +%s%N)
# A signal ends the room; in_namespaces then returns 128 + the signal's number.
trap end_room INT TERM HUP
in_namespaces "$@" || status=$?
tenths=$((($(date +%s%N) - started) / 100000000))
trap - INT TERM HUP
remove_ours "$run"
say "$* exited with $status after $((tenths / 10)).$((tenths % 10)) s"
exit "$status"
