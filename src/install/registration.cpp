#include "install/registration.h"

#include "base/path_characters.h"
#include "install/key_path.h"

#include <string.h>

const char MainExecutableName[] = "KWB.exe";

namespace {

const char ProductName[] = "Vistrel Image Browser";
const char Publisher[] = "Corvane Software";
const char ListsKey[] = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
const uint32_t PathValueBufferSize = 261;

// The levels from HKEY_LOCAL_MACHINE down to each list of entries, and the list's own
// name, its last level.
#define CURRENT_VERSION_LEVELS "SOFTWARE\0Microsoft\0Windows\0CurrentVersion\0"
const char AppPathsLevels[] = CURRENT_VERSION_LEVELS "App Paths\0";
const char UninstallLevels[] = CURRENT_VERSION_LEVELS "Uninstall\0";
const char *ListName(const char *levels) { return levels + sizeof CURRENT_VERSION_LEVELS - 1; }

KeyPath OpenList(Registry &registry, const char *levels) {
  return KeyPath(registry, registry.LocalMachine(), levels);
}

// Writes one entry of a list: its key is created below levels that must all be there, and
// gets the texts, then the numbers, named in turn by names (each ended by a NUL; an empty
// name is the default value). Each value written is logged with the key's full name; a
// missing level or a key that cannot be created means nothing is written.
void WriteEntry(Registry &registry, Log &log, const char *levels, const char *keyName,
                const char *names, const char *const *texts, int textCount,
                const uint32_t *numbers, int numberCount) {
  KeyPath path = OpenList(registry, levels);
  const char *listName = ListName(levels);
  OpenedKey key;
  if (path.Innermost())
    key.Reset(registry, registry.CreateKey(path.Innermost(), keyName));
  if (!key) {
    log.Write("Registry: %s%s\\%s cannot be written", ListsKey, listName, keyName);
    return;
  }
  for (int i = 0; i < textCount + numberCount; ++i, names += strlen(names) + 1) {
    const char *name = *names ? names : nullptr;
    const bool isText = i < textCount;
    // A REG_DWORD holds the number as the processor does, low byte first.
    const uint32_t *number = isText ? nullptr : &numbers[i - textCount];
    CString shown = isText ? texts[i] : "";
    if (!isText)
      AppendNumber(shown, *number);
    const long status =
        registry.SetValue(key.Get(), name, isText ? RegistryText : RegistryNumber,
                          isText ? static_cast<const void *>(texts[i]) : number,
                          isText ? static_cast<uint32_t>(shown.GetLength()) + 1 : 4);
    log.Write("Registry: %s%s\\%s, %s = %s%s", ListsKey, listName, keyName,
              name ? name : "(default)", shown.GetString(), status ? " (failed)" : "");
  }
}

} // namespace

const char *EditionVersion(int edition) { return edition == 1 ? "4.2" : "3.1.1"; }

void WriteAppPathEntry(Registry &registry, Log &log, const CString &installFolder) {
  const CString executable = PathIn(installFolder, MainExecutableName);
  const char *const texts[] = {executable, installFolder};
  WriteEntry(registry, log, AppPathsLevels, MainExecutableName, "\0Path", texts, 2, nullptr, 0);
}

void WriteUninstallEntry(Registry &registry, Log &log, const CString &installFolder,
                         const InstalledProduct &product) {
  const char *version = EditionVersion(product.Edition);
  // Quoted, so that a folder with blanks cannot make Windows run a program named by the
  // part of the path before the first blank.
  const CString uninstaller = "\"" + installFolder + "\\uninstall.exe\"";
  const CString executable = PathIn(installFolder, MainExecutableName);
  const char *const texts[] = {ProductName, uninstaller, version, Publisher,
                               executable,  installFolder, product.Date};
  // Both versions have one digit before and after their first dot.
  const uint32_t numbers[] = {static_cast<uint32_t>(version[0] - '0'),
                              static_cast<uint32_t>(version[2] - '0'), product.SizeInKilobytes,
                              1, 1};
  WriteEntry(registry, log, UninstallLevels, ProductName,
             "DisplayName\0UninstallString\0DisplayVersion\0Publisher\0DisplayIcon\0"
             "InstallLocation\0InstallDate\0VersionMajor\0VersionMinor\0EstimatedSize\0"
             "NoModify\0NoRepair",
             texts, 7, numbers, 5);
}

CString ReadPreviousInstallFolder(Registry &registry) {
  KeyPath path = OpenList(registry, AppPathsLevels);
  if (!path.Innermost())
    return CString();
  OpenedKey product(registry, registry.OpenKey(path.Innermost(), MainExecutableName));
  if (!product)
    return CString();
  return QueryText(registry, product.Get(), "Path", PathValueBufferSize);
}
