#!/usr/bin/env bash
# Runs a command inside the project root (make-root.sh, called first, makes it once):
#   in-root.sh CMD [ARGS...]          builds and the Windows side, 32-bit programs run the way
#                                     windows-32.sh chooses, as the Windows TORVAN_PREFIX names
#   in-root.sh --admin CMD [ARGS...]  package work while the root is made: no binds
#   in-root.sh --owner CMD [ARGS...]  CMD on the host, as the owner of the root's files
#   in-root.sh --where                prints where the root is
# Bound at their own paths: the repository, the current directory, WINEPREFIX, each path in
# TORVAN_ROOT_BIND (colon-separated), a local display's X socket. Mounts, processes and
# binfmt_misc entries live in private namespaces, ended on every exit, Ctrl-C included.
# shellcheck disable=SC2317 # the traps call functions that shellcheck takes for unreachable
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
if in_root; then exec "$@"; fi
here=$scripts
# Our input is kept for the command, or /dev/null when there is none.
{ : <&0; } 2>/dev/null || exec </dev/null

# A user's root belongs to the user (uid 0 inside) and the user's subordinate IDs, so a user enters
# through a user namespace mapping both; root needs one only for the emulated way's binfmt_misc.
root=${TORVAN_ROOT:-$(root_place)}
export TORVAN_ROOT=${root%/} # the namespaces' uid 0 must not take root's default
root=$TORVAN_ROOT
user_namespace() { # all: every ID of the root's files (packages); self: the caller, to run
    if [ "$(id -u)" -ne 0 ]; then
        echo --user --map-auto --map-root-user
    elif [ "$1" = self ] && [ "$TORVAN_WINDOWS_32" = emulated ]; then
        echo --user --map-root-user
    fi
}

if [ "$(id -u)" -ne 0 ] && ! unshare --user --map-root-user true 2>/dev/null; then
    echo "in-root: this user may not make user namespaces; as root: sysctl -w" \
        "user.max_user_namespaces=10000 (and kernel.unprivileged_userns_clone=1 where it exists)" >&2
    exit 1
fi

mode=run
case ${1-} in
--where) echo "$root"; exit 0 ;;
--admin) mode="admin"; shift ;;
--owner)
    shift
    # shellcheck disable=SC2046 # the flags are words
    exec unshare $(user_namespace all) "$@"
    ;;
esac

if [ "${1-}" != --in-namespace ]; then
    [ $# -gt 0 ] || { echo "usage: in-root.sh [--admin] CMD [ARGS...]" >&2 && exit 2; }
    ids=all
    if [ $mode = run ]; then
        "$here/make-root.sh" --quiet
        # Said once per run: by the first script that decides it, which passes it on.
        case ${TORVAN_WINDOWS_32:-auto} in
        auto) TORVAN_WINDOWS_32=$("$here/windows-32.sh" --say) ;;
        *) TORVAN_WINDOWS_32=$("$here/windows-32.sh") ;;
        esac
        export TORVAN_WINDOWS_32
        case ${TORVAN_PREFIX:=win64} in
        win64 | win32) export TORVAN_PREFIX ;;
        *) echo "in-root: TORVAN_PREFIX is '$TORVAN_PREFIX': use win64 or win32" >&2; exit 2 ;;
        esac
        ids=self
    fi
    # unshare holds SIGINT and SIGTERM until its child ends: this half passes them on.
    ns_pid="" caught=""
    forward() {
        local kid=
        caught=$1
        [ -n "$ns_pid" ] || exit $((128 + $(kill -l "$1")))
        read -r kid _ <"/proc/$ns_pid/task/$ns_pid/children" 2>/dev/null || true # no newline there
        [ -z "$kid" ] || kill -s "$1" "$kid" 2>/dev/null || true
    }
    trap 'forward INT' INT
    trap 'forward TERM' TERM
    trap 'forward HUP' HUP
    # --kill-child: unshare killed, the namespace's PID 1 and all in it go too. env gives SIGINT
    # back its default, which a background job starts without.
    # shellcheck disable=SC2046 # the flags are words
    unshare $(user_namespace $ids) --mount --propagation private --pid --fork --kill-child=KILL \
        env --default-signal=INT,QUIT "$here/in-root.sh" --in-namespace $mode "$@" <&0 &
    ns_pid=$!
    while :; do
        rc=0
        wait "$ns_pid" || rc=$?
        # A trap interrupts the wait while the child still runs.
        [ "$rc" -gt 128 ] && kill -0 "$ns_pid" 2>/dev/null && continue
        # Ended by a signal, as the caller's shell must see to stop too (an exit code would not do).
        if [ -n "$caught" ]; then trap - "$caught" && kill -s "$caught" $$; fi
        exit "$rc"
    done
fi

# Below: PID 1 of a new PID namespace, in private mount (and mostly user) namespaces.
mode=$2
shift 2
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
root=$(readlink -f "$root")
cmd_pid=
timer_pid=
signalled=
quiet=

# Every other process of this PID namespace is this run's: kill -1 from its PID 1 reaches them all.
signal_inside() { kill -s "$1" -1 2>/dev/null || true; }
# Ends every process left inside: politely, then for good.
sweep() {
    local i
    for i in $(seq 80); do
        kill -0 -1 2>/dev/null || return 0
        [ "$i" -eq 1 ] && signal_inside TERM
        [ "$i" -eq 31 ] && signal_inside KILL
        sleep 0.1
    done
    echo "in-root: processes still inside $root" >&3
}
finish() {
    local rc=$?
    trap '' INT TERM HUP USR1
    [ -n "$quiet" ] || exec 3>&2 2>/dev/null # see below
    [ -z "$timer_pid" ] || kill "$timer_pid" 2>/dev/null || true
    sweep
    # Mounts go with the namespaces; mount points stay (removing one would detach another run's).
    exit "$rc"
}
trap finish EXIT
# Ctrl-C reaches both halves and the command: passed on once; still running 10 s later, killed.
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
}
mount -t proc -o nosuid,nodev,noexec proc "$root/proc" # this PID namespace's own
mount_at /sys --rbind
mount_at /dev --rbind # with /dev/pts and /dev/shm

# 32-bit Windows programs. In a 64-bit prefix the 64-bit Wine hands them to Wine's 32-bit Linux
# loader when it finds one, and runs them itself through WoW64 otherwise. Wine 10 makes a 32-bit
# prefix only with its 64-bit side out of sight; the root's "wine" then is the 32-bit loader.
windows_32_way() {
    local wine=$root/usr/lib/wine
    if [ "$TORVAN_PREFIX" = win32 ]; then
        mount -t tmpfs tmpfs "$root/usr/lib/x86_64-linux-gnu/wine"
        mount --bind /dev/null "$wine/wine64"
        mount --bind /dev/null "$wine/wineserver64"
    fi
    case $TORVAN_WINDOWS_32-$TORVAN_PREFIX in
    emulated-*)
        # Every i386 ELF runs under the root's qemu-i386, opened now (F) so the chroot finds it.
        mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
        printf '%s' ':torvan-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$root"'/usr/bin/qemu-i386:F' \
            >/proc/sys/fs/binfmt_misc/register
        ;;
    wow64-win64)
        # No 32-bit loader, and the 32-bit PE DLLs where the 64-bit Wine looks for them.
        mount --bind "$wine-wow64" "$wine"
        mount --bind "$root/usr/lib/i386-linux-gnu/wine/i386-windows" \
            "$root/usr/lib/x86_64-linux-gnu/wine/i386-windows"
        ;;
    esac
}

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
            echo "in-root: $2 $p would hide the root's own files; use a directory elsewhere" >&2
            return 1
        fi
        [ -e "$p" ] || { echo "in-root: $2 $p does not exist" >&2; return 1; }
        mount_at "$p" --rbind
        bound+=("$p")
    done
}
if [ "$mode" = run ]; then
    bind "$repo" "the repository"
    bind "$PWD" "the current directory"
    if [ -n "${WINEPREFIX:-}" ]; then
        mkdir -p "$WINEPREFIX"
        bind "$WINEPREFIX" "WINEPREFIX"
    fi
    IFS=: read -r -a extra <<<"${TORVAN_ROOT_BIND:-}"
    for p in "${extra[@]}"; do
        [ -z "$p" ] || bind "$p" "TORVAN_ROOT_BIND entry"
    done
    # A local display through its socket; one without a socket is dropped (a virtual one follows).
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
    windows_32_way
else
    cwd=/
fi

# The command's environment: TORVAN_* and these alone, so that a host's compilers, flags, paths,
# CMake settings, SOURCE_DATE_EPOCH or locale change nothing inside; then the root's own PATH,
# HOME and locale.
passed_env=(DISPLAY XAUTHORITY WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES TERM CI)
kept=()
for name in $(compgen -e); do
    if [[ $name == TORVAN_* || " ${passed_env[*]} " == *" $name "* ]]; then kept+=("$name=${!name}"); fi
done
kept+=(PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8)
env --default-signal=INT,QUIT chroot "$root" /usr/bin/env -i --chdir="$cwd" "${kept[@]}" "$@" <&0 &
cmd_pid=$!
# As PID 1 this shell reaps orphans, which bash would warn about: only our own messages from here.
exec 3>&2 2>/dev/null
quiet=1
while :; do
    rc=0
    wait "$cmd_pid" || rc=$?
    [ "$rc" -gt 128 ] && kill -0 "$cmd_pid" 2>/dev/null && continue
    break
done
exit "$rc"
