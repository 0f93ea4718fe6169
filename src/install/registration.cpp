#include "install/registration.h"

#include <string.h>

const CString MainExecutableName("KWB.exe");

namespace {

const char ProductName[] = "Vistrel Image Browser";
const int KeyPathDepth = 5;
const uint32_t PathValueBufferSize = 261;

// The chain of keys from HKEY_LOCAL_MACHINE down to one list of entries, opened one
// level at a time. The levels close innermost first when the path goes out of scope,
// whether or not every level could be opened.
class KeyPath {
public:
  KeyPath(Registry &registry, const char *listName) : Depth(0) {
    const char *names[KeyPathDepth] = {"SOFTWARE", "Microsoft", "Windows", "CurrentVersion",
                                       listName};
    RegistryKey parent = registry.LocalMachine();
    for (const char *name : names) {
      RegistryKey key = registry.OpenKey(parent, name);
      if (!key)
        return;
      Levels[Depth++].Reset(registry, key);
      parent = key;
    }
  }
  KeyPath(const KeyPath &) = delete;
  KeyPath &operator=(const KeyPath &) = delete;

  // The innermost level, or 0 when some level is missing.
  RegistryKey Innermost() const { return Depth == KeyPathDepth ? Levels[Depth - 1].Get() : 0; }

private:
  // Array members are destroyed from the last element to the first: innermost first.
  OpenedKey Levels[KeyPathDepth];
  int Depth;
};

void SetString(Registry &registry, RegistryKey key, const char *name, const CString &text) {
  registry.SetStringValue(key, name, text.GetString(),
                          static_cast<uint32_t>(text.GetLength()) + 1);
}

} // namespace

void WriteAppPathEntry(Registry &registry, const CString &installFolder) {
  KeyPath path(registry, "App Paths");
  if (!path.Innermost())
    return;
  OpenedKey product(registry, registry.CreateKey(path.Innermost(), MainExecutableName));
  if (!product)
    return;
  SetString(registry, product.Get(), nullptr, installFolder + "\\" + MainExecutableName);
  SetString(registry, product.Get(), "Path", installFolder);
}

void WriteUninstallEntry(Registry &registry, const CString &installFolder) {
  KeyPath path(registry, "Uninstall");
  if (!path.Innermost())
    return;
  OpenedKey product(registry, registry.CreateKey(path.Innermost(), ProductName));
  if (!product)
    return;
  SetString(registry, product.Get(), "DisplayName", ProductName);
  // Quoted, so that a folder with blanks cannot make Windows run a program named by the
  // part of the path before the first blank.
  SetString(registry, product.Get(), "UninstallString",
            "\"" + installFolder + "\\uninstall.exe\"");
}

CString ReadPreviousInstallFolder(Registry &registry) {
  KeyPath path(registry, "App Paths");
  if (!path.Innermost())
    return CString();
  OpenedKey product(registry, registry.OpenKey(path.Innermost(), MainExecutableName));
  if (!product)
    return CString();
  CString folder;
  uint32_t type = 0;
  uint32_t size = PathValueBufferSize;
  char *buffer = folder.GetBuffer(static_cast<int>(PathValueBufferSize));
  long status = registry.QueryValue(product.Get(), "Path", &type,
                                    reinterpret_cast<uint8_t *>(buffer), &size);
  if (status != 0) {
    folder.ReleaseBuffer(0);
    return CString();
  }
  // The text ends at its first NUL, or at the end of the buffer when the value filled it
  // without one.
  const void *nul = memchr(buffer, 0, PathValueBufferSize);
  folder.ReleaseBuffer(nul ? static_cast<int>(static_cast<const char *>(nul) - buffer)
                           : static_cast<int>(PathValueBufferSize));
  return folder;
}
