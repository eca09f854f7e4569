// The programs are built without exceptions. The standard library would still report a
// failed allocation or a broken length limit by throwing, which links in the unwinder, the
// demangler and printf; here those cases end the program at once instead.
#include <cstdlib>
#include <new>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_bad_optional_access() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
}  // namespace std

// A call of a pure virtual function is a fault of the program; the runtime's own handler
// would bring in the unwinder.
extern "C" void __cxa_pure_virtual() { std::abort(); }

// The library's own allocation functions throw std::bad_alloc, which alone would link the
// unwinder; these replacements end the program when memory runs out.
void* operator new(std::size_t size) {
  if (void* block = std::malloc(size != 0 ? size : 1)) return block;
  std::abort();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
