// The few C and C++ runtime pieces the shipped program needs, in place of a C runtime
// DLL: Windows 95 as first released has no msvcrt.dll, and the loader refuses a program
// that imports a DLL it cannot find before a line of ours runs. Blocks are fixed global
// memory, through the calls the program imports anyway; allocation reports failure by a
// null pointer, except through plain new, which has no way to report it and ends the
// program instead; a pure virtual call (a program fault) ends the program at once. The
// string functions are those the compiler and the program call; this file is compiled
// without builtins, so that the compiler does not turn their loops back into calls to
// themselves.
#include "base/windows_api.h"

#include <stddef.h>

#include <new>

extern "C" {

void abort() { ::ExitProcess(3); }

void *malloc(size_t size) { return ::GlobalAlloc(GMEM_FIXED, size ? size : 1); }

void free(void *block) {
  if (block)
    ::GlobalFree(block);
}

void *memcpy(void *target, const void *source, size_t count) {
  unsigned char *to = static_cast<unsigned char *>(target);
  const unsigned char *from = static_cast<const unsigned char *>(source);
  while (count--)
    *to++ = *from++;
  return target;
}

void *memmove(void *target, const void *source, size_t count) {
  unsigned char *to = static_cast<unsigned char *>(target);
  const unsigned char *from = static_cast<const unsigned char *>(source);
  if (to <= from || to >= from + count)
    return memcpy(target, source, count);
  while (count--)
    to[count] = from[count];
  return target;
}

void *memset(void *target, int value, size_t count) {
  unsigned char *to = static_cast<unsigned char *>(target);
  while (count--)
    *to++ = static_cast<unsigned char>(value);
  return target;
}

int memcmp(const void *a, const void *b, size_t count) {
  const unsigned char *left = static_cast<const unsigned char *>(a);
  const unsigned char *right = static_cast<const unsigned char *>(b);
  for (; count; --count, ++left, ++right)
    if (*left != *right)
      return *left - *right;
  return 0;
}

void *memchr(const void *block, int value, size_t count) {
  const unsigned char *at = static_cast<const unsigned char *>(block);
  for (; count; --count, ++at)
    if (*at == static_cast<unsigned char>(value))
      return const_cast<unsigned char *>(at);
  return nullptr;
}

size_t strlen(const char *text) {
  const char *end = text;
  while (*end)
    ++end;
  return static_cast<size_t>(end - text);
}

int strcmp(const char *a, const char *b) {
  while (*a && *a == *b)
    ++a, ++b;
  return static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
}

void __cxa_pure_virtual() { abort(); }

#if defined(__i386__)
// The 32-bit compiler calls these for 64-bit division (free space, file sizes). The
// toolchain's own are several times larger and bring unwind tables with them; the
// program divides rarely, so a bit at a time is fast enough.
unsigned long long __udivmoddi4(unsigned long long dividend, unsigned long long divisor,
                                unsigned long long *remainder) {
  unsigned long long quotient = 0;
  unsigned long long rest = 0;
  for (int bit = 63; bit >= 0; --bit) {
    rest = rest << 1 | (dividend >> bit & 1);
    if (rest >= divisor) {
      rest -= divisor;
      quotient |= 1ULL << bit;
    }
  }
  if (remainder)
    *remainder = rest;
  return quotient;
}

unsigned long long __udivdi3(unsigned long long dividend, unsigned long long divisor) {
  return __udivmoddi4(dividend, divisor, nullptr);
}

unsigned long long __umoddi3(unsigned long long dividend, unsigned long long divisor) {
  unsigned long long remainder;
  __udivmoddi4(dividend, divisor, &remainder);
  return remainder;
}
#endif

} // extern "C"

namespace std {
const nothrow_t nothrow{};
} // namespace std

void *operator new(size_t size) {
  void *block = malloc(size);
  if (!block)
    abort();
  return block;
}
void *operator new[](size_t size) { return operator new(size); }
void *operator new(size_t size, const std::nothrow_t &) noexcept { return malloc(size); }
void *operator new[](size_t size, const std::nothrow_t &) noexcept { return malloc(size); }
void operator delete(void *block) noexcept { free(block); }
void operator delete[](void *block) noexcept { free(block); }
void operator delete(void *block, size_t) noexcept { free(block); }
void operator delete[](void *block, size_t) noexcept { free(block); }
