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

// Writes two string values into the entry named key of one list: only the entry's own key
// is created, and a missing level above it means nothing is written.
void WriteEntry(Registry &registry, const char *listName, const char *key, const char *firstName,
                const CString &first, const char *secondName, const CString &second) {
  KeyPath path = OpenList(registry, listName);
  if (!path.Innermost())
    return;
  OpenedKey product(registry, registry.CreateKey(path.Innermost(), key));
  if (!product)
    return;
  SetString(registry, product.Get(), firstName, first);
  SetString(registry, product.Get(), secondName, second);
}

} // namespace

void WriteAppPathEntry(Registry &registry, const CString &installFolder) {
  WriteEntry(registry, "App Paths", MainExecutableName, nullptr,
             installFolder + "\\" + MainExecutableName, "Path", installFolder);
}

void WriteUninstallEntry(Registry &registry, const CString &installFolder) {
  // Quoted, so that a folder with blanks cannot make Windows run a program named by the
  // part of the path before the first blank.
  WriteEntry(registry, "Uninstall", ProductName, "DisplayName", ProductName, "UninstallString",
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
