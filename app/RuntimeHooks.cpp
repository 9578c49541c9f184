// The product is built without exceptions (see the top-level CMakeLists.txt). These replace the
// C++ runtime's allocation functions, and stand in for the throw hooks its containers call, so
// that none of the runtime's exception machinery is linked. Nothing in the program catches, so
// each ends the process where the runtime would have thrown an exception that terminates it anyway.
#include <cstddef>
#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
    void* block = std::malloc(size != 0 ? size : 1);
    // Out of memory ends the process with abort(), as the uncaught std::bad_alloc did before.
    if (block == nullptr) std::abort();
    return block;
}

void* operator new[](std::size_t size) { return ::operator new(size); }

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

// The linker aliases to this each std::__throw_* hook that the containers' inline code calls on a
// failed allocation or a broken precondition (app/CMakeLists.txt), so none is defined in std.
// Their arguments go unread: the calls are cdecl, the caller removes them, and this never returns.
extern "C" [[noreturn]] void TorvanThrowHook() { std::abort(); }
