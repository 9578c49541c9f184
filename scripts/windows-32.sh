#!/usr/bin/env bash
# Decides how this machine runs the 32-bit Windows side (the product and its tests) and prints it:
#   wow64     the kernel lets a 64-bit process run 32-bit code (some VM guests' kernels do not):
#             Wine 10's WoW64 runs it in a 64-bit prefix, the 32-bit Wine directly in a 32-bit one;
#   emulated  Wine's 32-bit Linux loader runs under qemu-i386, registered for i386 programs in a
#             private binfmt_misc instance of a user namespace (Linux 6.7 or later).
# TORVAN_WINDOWS_32=wow64 or =emulated forces a way; unset or auto, the kernel decides.
#   windows-32.sh [--say]   prints the way (one word), exit 1 when none works; --say also says,
#                           in one line on standard error, which way, for which prefix, and why
set -euo pipefail
say() { # prints the way, and with --say how and why
    local how=$2
    echo "$1"
    if [ "${TORVAN_PREFIX:-win64}-$1" = win32-wow64 ]; then how="the 32-bit Wine directly"; fi
    if [ "$flag" = --say ]; then echo "Windows side, ${TORVAN_PREFIX:-win64}: $how ($3)" >&2; fi
}
fail() { echo "windows-32: $*" >&2; exit 1; }
flag=${1-}

# The check is built inside the project root (root-packages.sh) and runs here, on the host: inside
# the root's chroot the kernel would refuse the emulated way's user namespace.
kernel_runs_32bit_code() {
    local check
    check=$("$(dirname "${BASH_SOURCE[0]}")/in-root.sh" --where)/usr/local/libexec/torvan-runs-32bit-code
    if [ ! -x "$check" ]; then fail "no $check: make the root first (scripts/make-root.sh)"; fi
    # Its crash is the answer, not news: the shell that reports it writes to /dev/null.
    sh -c '"$1"; exit $?' check "$check" 2>/dev/null
}

# A user namespace of our own, with its own binfmt_misc instance (per user namespace since 6.7).
emulated_or_fail() { # why it is chosen
    unshare --user --map-root-user --mount \
        sh -c 'mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc' 2>/dev/null ||
        fail "$1, and the emulated way needs a user namespace with its own binfmt_misc (Linux 6.7" \
            "or later, unprivileged user namespaces enabled): neither way can run 32-bit Windows" \
            "programs here"
    say emulated "emulated: the 32-bit Wine loader under qemu-i386" "$1"
}

case ${TORVAN_WINDOWS_32:-auto} in
wow64)
    kernel_runs_32bit_code ||
        fail "TORVAN_WINDOWS_32=wow64, but this kernel runs 64-bit user code only; unset it"
    say wow64 WoW64 "TORVAN_WINDOWS_32=wow64"
    ;;
emulated) emulated_or_fail "TORVAN_WINDOWS_32=emulated" ;;
auto)
    if kernel_runs_32bit_code; then
        say wow64 WoW64 "this kernel runs 32-bit code; TORVAN_WINDOWS_32=emulated tries the other way"
    else
        emulated_or_fail "this kernel runs 64-bit user code only"
    fi
    ;;
*) fail "TORVAN_WINDOWS_32 is '$TORVAN_WINDOWS_32': use wow64, emulated or auto" ;;
esac
