#!/usr/bin/env bash
# Runs a command inside the Wine root (see wine-root.sh, called first: it makes the root once), as root:
#   in-wine-root.sh CMD [ARGS...]
# The repository is bind-mounted at its own path, so build trees and CTest work unchanged; so are
# the current directory and WINEPREFIX when they lie outside it, each path in TORVAN_WINE_ROOT_BIND
# (colon-separated), and the X socket of a local DISPLAY. The current directory and the environment
# are kept (LC_ALL, WINEPREFIX, ...), with the root's PATH and HOME. Mounts and processes live in a private mount and PID
# namespace, so concurrent runs never see each other's; on every exit (success, failure, SIGINT,
# SIGTERM, SIGHUP) whatever still runs inside is ended and the mounts are undone. Already inside the
# root, it just runs CMD.
set -euo pipefail
stamp=/etc/torvan-wine-root # exists only inside a finished root
[ -e "$stamp" ] && exec "$@"

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=${TORVAN_WINE_ROOT:-/var/cache/torvan-wine-root}
# A command run in the background gets /dev/null as input unless told otherwise; keep ours, or
# give it /dev/null when there is none.
{ : <&0; } 2>/dev/null || exec </dev/null

if [ "${1-}" != --in-namespace ]; then
    if [ $# -eq 0 ]; then
        echo "usage: in-wine-root.sh CMD [ARGS...]" >&2
        exit 2
    fi
    if [ "$(id -u)" -ne 0 ]; then
        echo "in-wine-root: chroot and mounts take root: run it with sudo" >&2
        exit 1
    fi
    [ -n "${TORVAN_WINE_ROOT_BUILDING:-}" ] || "$here/wine-root.sh"
    # unshare holds SIGINT and SIGTERM until its child ends, so this half passes them on to the
    # child (the half below); without a trap-interruptible wait, a SIGTERM would wait for the
    # command to end by itself.
    ns_pid=
    forward() {
        local kid=
        [ -n "$ns_pid" ] || exit $((128 + $(kill -l "$1")))
        read -r kid _ <"/proc/$ns_pid/task/$ns_pid/children" 2>/dev/null || true # no newline there
        [ -z "$kid" ] || kill -s "$1" "$kid" 2>/dev/null || true
    }
    trap 'forward INT' INT
    trap 'forward TERM' TERM
    trap 'forward HUP' HUP
    # --kill-child: should unshare be killed, its child (PID 1 of the namespace) is too, and the
    # kernel then ends every process in it. A background job starts with SIGINT ignored: env gives
    # the default back.
    unshare --mount --propagation private --pid --fork --kill-child=KILL \
        env --default-signal=INT,QUIT "$here/in-wine-root.sh" --in-namespace "$@" <&0 &
    ns_pid=$!
    while :; do
        rc=0
        wait "$ns_pid" || rc=$?
        # A trap interrupts the wait while the child still runs.
        [ "$rc" -gt 128 ] && kill -0 "$ns_pid" 2>/dev/null && continue
        exit "$rc"
    done
fi

# Below: PID 1 of a new PID namespace, in a private mount namespace.
shift
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
root=$(readlink -f "$root")
mounts=()
cmd_pid=
timer_pid=
signalled=
quiet=

inside_pids() { # processes whose root is the Wine root; in this PID namespace, so only this run's
    local p r
    for p in "$root"/proc/[0-9]*; do
        r=$(readlink "$p/root" 2>/dev/null) || continue # gone, or a zombie
        [ "$r" = "$root" ] && echo "${p##*/}"
    done
    return 0
}
signal_inside() {
    local pids
    pids=$(inside_pids)
    [ -z "$pids" ] || kill -s "$1" $pids 2>/dev/null || true
}
# Ends every process left inside: politely, then for good.
sweep() {
    local i
    [ -n "$(inside_pids)" ] || return 0
    signal_inside TERM
    for i in $(seq 30); do
        [ -n "$(inside_pids)" ] || return 0
        sleep 0.1
    done
    signal_inside KILL
    for i in $(seq 50); do
        [ -n "$(inside_pids)" ] || return 0
        sleep 0.1
    done
    echo "in-wine-root: processes still inside $root: $(inside_pids | tr '\n' ' ')" >&3
}
finish() {
    local rc=$? i
    trap '' INT TERM HUP USR1
    [ -n "$quiet" ] || exec 3>&2 2>/dev/null # see below
    [ -z "$timer_pid" ] || kill "$timer_pid" 2>/dev/null || true
    sweep
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount -R "${mounts[i]}" 2>/dev/null || umount -R -l "${mounts[i]}" 2>/dev/null ||
            echo "in-wine-root: could not unmount ${mounts[i]}" >&3
    done
    # Mount points made below stay: removing one would detach it from a concurrent run too.
    exit "$rc"
}
trap finish EXIT
# The terminal's Ctrl-C reaches both halves of this script and the command itself: a repeated
# signal is passed on once. A command that still runs 10 s later is ended by force.
on_signal() {
    [ "$1" != "$signalled" ] || return 0
    signalled=$1
    signal_inside "$1"
    [ -n "$timer_pid" ] || {
        (sleep 10 && kill -s USR1 $$) &
        timer_pid=$!
    }
}
trap 'on_signal INT' INT
trap 'on_signal TERM' TERM
trap 'on_signal HUP' HUP
trap 'signal_inside KILL' USR1

mount_at() { # host path, then mount options: mounts it at the same path inside the root
    local src=$1 dst=$root$1
    shift
    if [ -d "$src" ]; then mkdir -p "$dst"; else mkdir -p "$(dirname "$dst")" && touch "$dst"; fi
    mount "$@" "$src" "$dst"
    mounts+=("$dst")
}
mount -t proc -o nosuid,nodev,noexec proc "$root/proc" # this PID namespace's own
mounts+=("$root/proc")
mount_at /sys --rbind
mount_at /dev --rbind # with /dev/pts and /dev/shm

bound=()
covered() { # is the path already visible inside the root through a mount made here?
    local b
    for b in "${bound[@]}"; do
        [ "$1" = "$b" ] || [ "${1#"$b"/}" != "$1" ] && return 0
    done
    return 1
}
bind() { # host path, then what it is (for messages)
    local p
    for p in "$(realpath -m -- "$1")" "$(realpath -s -m -- "$1")"; do
        covered "$p" && continue
        # The root's own system directories cannot be traded for the host's.
        if [[ $p == / || $p =~ ^/(bin|boot|dev|etc|lib|lib32|lib64|libx32|proc|run|sbin|sys|usr|var)(/|$) ]]; then
            echo "in-wine-root: $2 $p would hide the root's own files; use a directory elsewhere" >&2
            return 1
        fi
        [ -e "$p" ] || { echo "in-wine-root: $2 $p does not exist" >&2; return 1; }
        mount_at "$p" --rbind
        bound+=("$p")
    done
}
if [ -z "${TORVAN_WINE_ROOT_BUILDING:-}" ]; then
    bind "$(cd "$here/.." && pwd)" "the repository"
    bind "$PWD" "the current directory"
    if [ -n "${WINEPREFIX:-}" ]; then
        mkdir -p "$WINEPREFIX"
        bind "$WINEPREFIX" "WINEPREFIX"
    fi
    IFS=: read -r -a extra <<<"${TORVAN_WINE_ROOT_BIND:-}"
    for p in "${extra[@]}"; do
        [ -z "$p" ] || bind "$p" "TORVAN_WINE_ROOT_BIND entry"
    done
    # A local X display stays usable through its socket, a TCP one through the shared network; a
    # local one without a socket is dropped (with-wine-env.sh then starts a virtual one inside).
    if [[ ${DISPLAY:-} =~ ^(unix)?:([0-9]+)(\.[0-9]+)?$ ]]; then
        if [ -S "/tmp/.X11-unix/X${BASH_REMATCH[2]}" ]; then
            bind /tmp/.X11-unix "the X socket directory"
            xauth=${XAUTHORITY:-$HOME/.Xauthority}
            if [ -f "$xauth" ]; then
                bind "$xauth" "XAUTHORITY"
                export XAUTHORITY=$xauth
            fi
        else
            unset DISPLAY
        fi
    fi
    cwd=$PWD
else
    cwd=/
fi

export HOME=/root
unset LD_PRELOAD LD_LIBRARY_PATH
[ -z "${TMPDIR:-}" ] || [ -d "$root$TMPDIR" ] || unset TMPDIR
env --default-signal=INT,QUIT chroot "$root" /bin/sh -c 'cd "$1" || exit 1; shift; exec "$@"' \
    in-wine-root "$cwd" "$@" <&0 &
cmd_pid=$!
# As PID 1 this shell also reaps orphans, after which bash warns about children it cannot find:
# from here on only this script's own messages are shown.
exec 3>&2 2>/dev/null
quiet=1
while :; do
    rc=0
    wait "$cmd_pid" || rc=$?
    [ "$rc" -gt 128 ] && kill -0 "$cmd_pid" 2>/dev/null && continue
    break
done
exit "$rc"
