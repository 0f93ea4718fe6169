// The registry as the registration entries see it: keys opened one level at a time,
// the last level created, string values set and read. Handles are opaque numbers; 0
// means "no key". The Win32 implementation maps these calls one to one onto RegOpenKeyA,
// RegCreateKeyExA, RegSetValueExA, RegQueryValueExA and RegCloseKey.
#pragma once

#include <stdint.h>

typedef uintptr_t RegistryKey;

// The value types the program writes: REG_SZ and REG_DWORD.
const uint32_t RegistryText = 1;
const uint32_t RegistryNumber = 4;

class Registry {
protected:
  // Implementations are destroyed as what they are, never through this interface.
  ~Registry() = default;

public:
  // The root key HKEY_LOCAL_MACHINE.
  virtual RegistryKey LocalMachine() = 0;
  // Opens an existing subkey without an explicit access mask. Returns 0 when it is
  // missing; the caller judges the open by the handle, not by a status.
  virtual RegistryKey OpenKey(RegistryKey parent, const char *name) = 0;
  // Creates or opens a subkey with full access; returns 0 on failure.
  virtual RegistryKey CreateKey(RegistryKey parent, const char *name) = 0;
  // Writes a value of the type and byteCount bytes (a text's NUL counted by the caller).
  // name == nullptr or "" writes the default value. Returns the platform status.
  virtual long SetValue(RegistryKey key, const char *name, uint32_t type, const void *data,
                        uint32_t byteCount) = 0;
  // Reads a value into buffer; *byteCount holds the buffer size on entry and the value's
  // size on return. Returns the platform status (0 on success).
  virtual long QueryValue(RegistryKey key, const char *name, uint32_t *type, uint8_t *buffer,
                          uint32_t *byteCount) = 0;
  virtual void CloseKey(RegistryKey key) = 0;
};

// Owns one opened key and closes it when it goes out of scope.
class OpenedKey {
public:
  OpenedKey() : Owner(nullptr), Key(0) {}
  OpenedKey(Registry &owner, RegistryKey key) : Owner(&owner), Key(key) {}
  OpenedKey(const OpenedKey &) = delete;
  OpenedKey &operator=(const OpenedKey &) = delete;
  ~OpenedKey() { Reset(); }

  void Reset(Registry &owner, RegistryKey key) {
    Reset();
    Owner = &owner;
    Key = key;
  }
  void Reset() {
    if (Owner && Key)
      Owner->CloseKey(Key);
    Key = 0;
  }
  RegistryKey Get() const { return Key; }
  explicit operator bool() const { return Key != 0; }

private:
  Registry *Owner;
  RegistryKey Key;
};
