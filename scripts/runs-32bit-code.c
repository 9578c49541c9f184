/* Exits 0 when this kernel lets a 64-bit process run 32-bit code: a far call through the 32-bit
 * user code selector 0x23, which is what WoW64 does for every 32-bit call. Where the kernel runs
 * 64-bit user code only, the call faults. Built static inside the project root, run on the host. */
#include <string.h>
#include <sys/mman.h>

struct far {
    unsigned off;
    unsigned short sel;
} __attribute__((packed)) target = {0x10000, 0x23};

int main(void) {
    unsigned char *p = mmap((void *)0x10000, 8192, PROT_READ | PROT_WRITE | PROT_EXEC,
                            MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    static const unsigned char code[] = {0xb8, 42, 0, 0, 0, 0xcb}; /* mov eax, 42; retf */
    if (p == MAP_FAILED) return 2;
    memcpy(p, code, sizeof code);
    long r;
    __asm__ volatile("mov %%rsp, %%rbx\n\tmov $0x11ff0, %%rsp\n\tlcall *target(%%rip)\n\t"
                     "mov %%rbx, %%rsp"
                     : "=a"(r)
                     :
                     : "rbx", "memory");
    return r == 42 ? 0 : 3;
}
