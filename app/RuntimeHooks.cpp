// The product is built without exceptions (see the top-level CMakeLists.txt). These replace the
// C++ runtime's allocation functions and the throw hooks its containers call, so that none of the
// runtime's exception machinery is linked. Nothing in the program catches, so each ends the
// process where the runtime would have thrown an exception that terminates it anyway.
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

// Called by the containers' inline code on a failed allocation or a broken precondition.
namespace std {
[[noreturn]] void __throw_bad_alloc() { std::abort(); }
[[noreturn]] void __throw_bad_array_new_length() { std::abort(); }
[[noreturn]] void __throw_length_error(const char*) { std::abort(); }
[[noreturn]] void __throw_logic_error(const char*) { std::abort(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
}  // namespace std
