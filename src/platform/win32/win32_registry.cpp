#include "platform/win32/win32_registry.h"

#include "base/windows_api.h"

namespace {

HKEY ToHandle(RegistryKey key) { return reinterpret_cast<HKEY>(key); }
RegistryKey FromHandle(HKEY key) { return reinterpret_cast<RegistryKey>(key); }

} // namespace

RegistryKey Win32Registry::LocalMachine() { return FromHandle(HKEY_LOCAL_MACHINE); }

RegistryKey Win32Registry::CurrentUser() { return FromHandle(HKEY_CURRENT_USER); }

RegistryKey Win32Registry::OpenKey(RegistryKey parent, const char *name) {
  // The handle alone tells whether the level exists; a failing open leaves it null.
  HKEY key = nullptr;
  if (RegOpenKeyA(ToHandle(parent), name, &key) != ERROR_SUCCESS)
    key = nullptr;
  return FromHandle(key);
}

RegistryKey Win32Registry::CreateKey(RegistryKey parent, const char *name) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExA(ToHandle(parent), name, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
    key = nullptr;
  return FromHandle(key);
}

long Win32Registry::SetValue(RegistryKey key, const char *name, uint32_t type,
                             const void *data, uint32_t byteCount) {
  return RegSetValueExA(ToHandle(key), name, 0, type, static_cast<const BYTE *>(data),
                        byteCount);
}

long Win32Registry::QueryValue(RegistryKey key, const char *name, uint32_t *type,
                               uint8_t *buffer, uint32_t *byteCount) {
  DWORD valueType = 0;
  DWORD size = *byteCount;
  LONG status = RegQueryValueExA(ToHandle(key), name, nullptr, &valueType, buffer, &size);
  *type = valueType;
  *byteCount = size;
  return status;
}

void Win32Registry::CloseKey(RegistryKey key) { RegCloseKey(ToHandle(key)); }
