// An in-memory registry for the registration tests. It keeps a tree of keys with typed
// values, hands out numbered handles, and records every call, so that tests can check
// the order of opens and closes, what was created, and the exact bytes written.
#pragma once

#include "platform/registry.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class MemoryRegistry : public Registry {
public:
  struct Value {
    uint32_t Type;
    std::string Bytes; // exactly the bytes stored, the NUL included when it was counted
  };
  struct Key {
    std::map<std::string, std::unique_ptr<Key>> Subkeys; // names compared as given
    std::map<std::string, Value> Values;                 // "" is the default value
  };
  // One recorded call: "open SOFTWARE -> 2", "create KWB.exe -> 7", "set Path 28",
  // "query Path", "close 7".
  std::vector<std::string> Calls;

  MemoryRegistry();

  // Builds the key path below HKEY_LOCAL_MACHINE, levels separated by '\'.
  Key &AddKey(const std::string &path);
  // The key at the path, or null.
  Key *FindKey(const std::string &path);
  void SetRawValue(const std::string &path, const std::string &name, uint32_t type,
                   const std::string &bytes);

  // Makes CreateKey fail for this name.
  std::set<std::string> FailCreate;
  // Handles currently open (the root is never counted).
  size_t OpenHandleCount() const { return Open.size(); }

  RegistryKey LocalMachine() override;
  RegistryKey OpenKey(RegistryKey parent, const char *name) override;
  RegistryKey CreateKey(RegistryKey parent, const char *name) override;
  long SetStringValue(RegistryKey key, const char *name, const char *data,
                      uint32_t byteCount) override;
  long QueryValue(RegistryKey key, const char *name, uint32_t *type, uint8_t *buffer,
                  uint32_t *byteCount) override;
  void CloseKey(RegistryKey key) override;

private:
  RegistryKey NewHandle(Key *key);
  Key *Resolve(RegistryKey handle);

  Key Root;
  RegistryKey NextHandle;
  std::map<RegistryKey, Key *> Open;
};
