#include "install/key_path.h"

#include <string.h>

KeyPath::KeyPath(Registry &registry, RegistryKey root, const char *names)
    : Depth(0), Complete(false) {
  RegistryKey parent = root;
  for (; *names; names += strlen(names) + 1) {
    const RegistryKey key = Depth < MaxDepth ? registry.OpenKey(parent, names) : 0;
    if (!key)
      return;
    Levels[Depth++].Reset(registry, key);
    parent = key;
  }
  Complete = Depth > 0;
}

CString QueryText(Registry &registry, RegistryKey key, const char *name, uint32_t bufferSize) {
  CString text;
  uint32_t type = 0;
  uint32_t size = bufferSize;
  char *buffer = text.GetBuffer(static_cast<int>(bufferSize));
  if (registry.QueryValue(key, name, &type, reinterpret_cast<uint8_t *>(buffer), &size) != 0) {
    text.ReleaseBuffer(0);
    return CString();
  }
  const void *nul = memchr(buffer, 0, bufferSize);
  text.ReleaseBuffer(nul ? static_cast<int>(static_cast<const char *>(nul) - buffer)
                         : static_cast<int>(bufferSize));
  return text;
}
