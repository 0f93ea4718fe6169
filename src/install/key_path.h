// Registry keys as the installation reads and writes them: a chain of levels opened one
// at a time below a root key, and string values read into a fixed buffer.
#pragma once

#include "base/cstring.h"
#include "platform/registry.h"

// Opens the levels named by names (each ended by a NUL, the list by an empty name) below
// root, one level at a time, and stops at the first level that is missing (judged by
// the handle the open yields). The levels that were opened close innermost first when
// the path goes out of scope.
class KeyPath {
public:
  static const int MaxDepth = 6;

  KeyPath(Registry &registry, RegistryKey root, const char *names);
  KeyPath(const KeyPath &) = delete;
  KeyPath &operator=(const KeyPath &) = delete;

  // The innermost level, or 0 when some level is missing.
  RegistryKey Innermost() const { return Complete ? Levels[Depth - 1].Get() : 0; }

private:
  // Array members are destroyed from the last element to the first: innermost first.
  OpenedKey Levels[MaxDepth];
  int Depth;
  bool Complete;
};

// The value as text, read with one query into a buffer of bufferSize bytes whatever its
// registry type. The text ends at its first NUL, or at the end of the buffer when the
// value fills it without one. A value that is missing or does not fit gives "".
CString QueryText(Registry &registry, RegistryKey key, const char *name, uint32_t bufferSize);
