#!/usr/bin/env bash
# Decides how this machine runs the 32-bit Windows side (the product and its tests) and prints it:
#   wow64     Wine 10's WoW64 runs the 32-bit code in the CPU's compatibility mode: needs a kernel
#             that lets a 64-bit process run 32-bit code (some VM guests' kernels do not);
#   emulated  Wine's 32-bit Linux loader runs under qemu-i386, registered for i386 programs in a
#             private binfmt_misc instance of a user namespace (Linux 6.7 or later).
# TORVAN_WINDOWS_32=wow64 or =emulated forces a way; unset or auto, the kernel decides.
#   windows-32.sh          prints the way (one word) on standard output, exit 1 when none works
#   windows-32.sh --say    also says, in one line on standard error, which way and why
set -euo pipefail
say() { [ "${1-}" != --say ] || printf 'Windows side: %s\n' "$2" >&2; }
fail() { echo "windows-32: $*" >&2; exit 1; }

# A far call through the 32-bit user code selector 0x23: what WoW64 does for every 32-bit call.
kernel_runs_32bit_code() {
    local d rc=0
    d=$(mktemp -d)
    cat >"$d/t.c" <<'C'
#include <stdint.h>
#include <string.h>
#include <sys/mman.h>
struct far { uint32_t off; uint16_t sel; } __attribute__((packed)) target = {0x10000, 0x23};
int main(void) {
    unsigned char *p = mmap((void *)0x10000, 8192, PROT_READ | PROT_WRITE | PROT_EXEC,
                            MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (p == MAP_FAILED) return 2;
    static const unsigned char code[] = {0xb8, 42, 0, 0, 0, 0xcb}; /* mov eax, 42; retf */
    memcpy(p, code, sizeof code);
    long r;
    __asm__ volatile("mov %%rsp, %%rbx\n\tmov $0x11ff0, %%rsp\n\tlcall *target(%%rip)\n\t"
                     "mov %%rbx, %%rsp" : "=a"(r) : : "rbx", "memory");
    return r == 42 ? 0 : 3;
}
C
    if ! cc -O0 -no-pie -o "$d/t" "$d/t.c" 2>/dev/null; then
        rm -rf "$d"
        fail "cannot compile the 32-bit code check (cc missing? run scripts/install-deps.sh)"
    fi
    # Its crash is the answer, not news: the shell that reports it writes to /dev/null.
    sh -c '"$1"; exit $?' check "$d/t" 2>/dev/null || rc=$?
    rm -rf "$d"
    return "$rc"
}

# A user namespace of our own, with its own binfmt_misc instance (per user namespace since 6.7).
private_binfmt_misc() {
    unshare --user --map-root-user --mount \
        sh -c 'mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc' 2>/dev/null
}

emulated_or_fail() { # why it is chosen
    private_binfmt_misc ||
        fail "$1, and the emulated way needs a user namespace with its own binfmt_misc (Linux 6.7" \
            "or later, unprivileged user namespaces enabled): neither way can run 32-bit Windows" \
            "programs here"
    echo emulated
    say "${2-}" "emulated: the 32-bit Wine loader under qemu-i386 ($1)"
}

case ${TORVAN_WINDOWS_32:-auto} in
wow64)
    kernel_runs_32bit_code ||
        fail "TORVAN_WINDOWS_32=wow64, but this kernel runs 64-bit user code only; unset it"
    echo wow64
    say "${1-}" "WoW64 (TORVAN_WINDOWS_32=wow64)"
    ;;
emulated) emulated_or_fail "TORVAN_WINDOWS_32=emulated" "${1-}" ;;
auto)
    if kernel_runs_32bit_code; then
        echo wow64
        say "${1-}" "WoW64 (this kernel runs 32-bit code; TORVAN_WINDOWS_32=emulated tries the other way)"
    else
        emulated_or_fail "this kernel runs 64-bit user code only" "${1-}"
    fi
    ;;
*) fail "TORVAN_WINDOWS_32 is '$TORVAN_WINDOWS_32': use wow64, emulated or auto" ;;
esac
