// The registry interface over the real Win32 registry functions.
#pragma once

#include "platform/registry.h"

class Win32Registry : public Registry {
public:
  RegistryKey LocalMachine() override;
  // The root HKEY_CURRENT_USER, where the user's shell folders are recorded.
  static RegistryKey CurrentUser();
  RegistryKey OpenKey(RegistryKey parent, const char *name) override;
  RegistryKey CreateKey(RegistryKey parent, const char *name) override;
  long SetValue(RegistryKey key, const char *name, uint32_t type, const void *data,
                uint32_t byteCount) override;
  long QueryValue(RegistryKey key, const char *name, uint32_t *type, uint8_t *buffer,
                  uint32_t *byteCount) override;
  void CloseKey(RegistryKey key) override;
};
