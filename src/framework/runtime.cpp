// The C++ runtime pieces the shipped program needs, without the standard library's
// exception machinery: allocation reports failure by a null pointer, and a pure virtual
// call (a program fault) ends the program at once.
#include <stdlib.h>

#include <new>

void *operator new(size_t size) { return malloc(size ? size : 1); }
void *operator new[](size_t size) { return malloc(size ? size : 1); }
void *operator new(size_t size, const std::nothrow_t &) noexcept { return malloc(size ? size : 1); }
void *operator new[](size_t size, const std::nothrow_t &) noexcept {
  return malloc(size ? size : 1);
}
void operator delete(void *block) noexcept { free(block); }
void operator delete[](void *block) noexcept { free(block); }
void operator delete(void *block, size_t) noexcept { free(block); }
void operator delete[](void *block, size_t) noexcept { free(block); }

extern "C" void __cxa_pure_virtual() { abort(); }
