#include "install/registration.h"

#include "install/key_path.h"

const CString MainExecutableName("KWB.exe");

namespace {

const char ProductName[] = "Vistrel Image Browser";
const uint32_t PathValueBufferSize = 261;

// The chain of keys from HKEY_LOCAL_MACHINE down to one list of entries.
KeyPath OpenList(Registry &registry, const char *listName) {
  const char *const names[] = {"SOFTWARE", "Microsoft", "Windows", "CurrentVersion", listName};
  return KeyPath(registry, registry.LocalMachine(), names, 5);
}

void SetString(Registry &registry, RegistryKey key, const char *name, const CString &text) {
  registry.SetStringValue(key, name, text.GetString(),
                          static_cast<uint32_t>(text.GetLength()) + 1);
}

} // namespace

void WriteAppPathEntry(Registry &registry, const CString &installFolder) {
  KeyPath path = OpenList(registry, "App Paths");
  if (!path.Innermost())
    return;
  OpenedKey product(registry, registry.CreateKey(path.Innermost(), MainExecutableName));
  if (!product)
    return;
  SetString(registry, product.Get(), nullptr, installFolder + "\\" + MainExecutableName);
  SetString(registry, product.Get(), "Path", installFolder);
}

void WriteUninstallEntry(Registry &registry, const CString &installFolder) {
  KeyPath path = OpenList(registry, "Uninstall");
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
  KeyPath path = OpenList(registry, "App Paths");
  if (!path.Innermost())
    return CString();
  OpenedKey product(registry, registry.OpenKey(path.Innermost(), MainExecutableName));
  if (!product)
    return CString();
  return QueryText(registry, product.Get(), "Path", PathValueBufferSize);
}
