#include "memory_registry.h"

#include <cstring>
#include <sstream>

namespace {

const RegistryKey RootHandle = 1;
const long Success = 0;
const long FileNotFound = 2;
const long InvalidHandle = 6;
const long MoreData = 234;

std::string NameOf(const char *name) { return name ? name : ""; }

} // namespace

MemoryRegistry::MemoryRegistry() : NextHandle(RootHandle + 1) {}

MemoryRegistry::Key &MemoryRegistry::AddKey(const std::string &path) {
  Key *key = &Root;
  std::stringstream levels(path);
  std::string level;
  while (std::getline(levels, level, '\\')) {
    std::unique_ptr<Key> &sub = key->Subkeys[level];
    if (!sub)
      sub.reset(new Key);
    key = sub.get();
  }
  return *key;
}

MemoryRegistry::Key *MemoryRegistry::FindKey(const std::string &path) {
  Key *key = &Root;
  std::stringstream levels(path);
  std::string level;
  while (std::getline(levels, level, '\\')) {
    auto found = key->Subkeys.find(level);
    if (found == key->Subkeys.end())
      return nullptr;
    key = found->second.get();
  }
  return key;
}

void MemoryRegistry::SetRawValue(const std::string &path, const std::string &name,
                                 uint32_t type, const std::string &bytes) {
  AddKey(path).Values[name] = Value{type, bytes};
}

RegistryKey MemoryRegistry::NewHandle(Key *key) {
  RegistryKey handle = NextHandle++;
  Open[handle] = key;
  return handle;
}

MemoryRegistry::Key *MemoryRegistry::Resolve(RegistryKey handle) {
  if (handle == RootHandle)
    return &Root;
  auto found = Open.find(handle);
  return found == Open.end() ? nullptr : found->second;
}

RegistryKey MemoryRegistry::LocalMachine() { return RootHandle; }

RegistryKey MemoryRegistry::OpenKey(RegistryKey parent, const char *name) {
  Key *key = Resolve(parent);
  RegistryKey handle = 0;
  if (key) {
    auto found = key->Subkeys.find(NameOf(name));
    if (found != key->Subkeys.end())
      handle = NewHandle(found->second.get());
  }
  Calls.push_back("open " + NameOf(name) + " -> " + std::to_string(handle));
  return handle;
}

RegistryKey MemoryRegistry::CreateKey(RegistryKey parent, const char *name) {
  Key *key = Resolve(parent);
  RegistryKey handle = 0;
  if (key && !FailCreate.count(NameOf(name))) {
    std::unique_ptr<Key> &sub = key->Subkeys[NameOf(name)];
    if (!sub)
      sub.reset(new Key);
    handle = NewHandle(sub.get());
  }
  Calls.push_back("create " + NameOf(name) + " -> " + std::to_string(handle));
  return handle;
}

long MemoryRegistry::SetStringValue(RegistryKey key, const char *name, const char *data,
                                    uint32_t byteCount) {
  Calls.push_back("set " + NameOf(name) + " " + std::to_string(byteCount));
  Key *target = Resolve(key);
  if (!target || key == RootHandle)
    return InvalidHandle;
  target->Values[NameOf(name)] = Value{1, std::string(data, byteCount)};
  return Success;
}

long MemoryRegistry::QueryValue(RegistryKey key, const char *name, uint32_t *type,
                                uint8_t *buffer, uint32_t *byteCount) {
  Calls.push_back("query " + NameOf(name) + " " + std::to_string(*byteCount));
  Key *target = Resolve(key);
  if (!target)
    return InvalidHandle;
  auto found = target->Values.find(NameOf(name));
  if (found == target->Values.end())
    return FileNotFound;
  const Value &value = found->second;
  const uint32_t size = static_cast<uint32_t>(value.Bytes.size());
  *type = value.Type;
  if (size > *byteCount) {
    *byteCount = size;
    return MoreData;
  }
  std::memcpy(buffer, value.Bytes.data(), size);
  *byteCount = size;
  return Success;
}

void MemoryRegistry::CloseKey(RegistryKey key) {
  Calls.push_back("close " + std::to_string(key));
  Open.erase(key);
}
