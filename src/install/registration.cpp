#include "install/registration.h"

#include "install/key_path.h"

const CString MainExecutableName("KWB.exe");

namespace {

const char ProductName[] = "Vistrel Image Browser";
const char Publisher[] = "Corvane Software";
const char ListsKey[] = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
const uint32_t PathValueBufferSize = 261;

// The chain of keys from HKEY_LOCAL_MACHINE down to one list of entries.
KeyPath OpenList(Registry &registry, const char *listName) {
  const char *const names[] = {"SOFTWARE", "Microsoft", "Windows", "CurrentVersion", listName};
  return KeyPath(registry, registry.LocalMachine(), names, 5);
}

// One entry of a list, its key created below levels that must all be there; each value
// written is logged with the key's full name. A missing level or a key that cannot be
// created means nothing is written.
class EntryKey {
public:
  EntryKey(Registry &registry, Log &log, const char *listName, const char *keyName)
      : Path(OpenList(registry, listName)), Keys(registry), Record(log),
        Name(CString(listName) + "\\" + keyName) {
    if (Path.Innermost())
      Key.Reset(registry, registry.CreateKey(Path.Innermost(), keyName));
    if (!Key)
      Record.Write("Registry: %s%s cannot be written", ListsKey, Name.GetString());
  }

  void SetText(const char *name, const CString &text) {
    if (Key)
      Logged(name, text, Keys.SetValue(Key.Get(), name, RegistryText, text.GetString(),
                                       static_cast<uint32_t>(text.GetLength()) + 1));
  }
  void SetNumber(const char *name, uint32_t number) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8),
                              static_cast<uint8_t>(number >> 16),
                              static_cast<uint8_t>(number >> 24)};
    if (Key)
      Record.Write("Registry: %s%s, %s = %u%s", ListsKey, Name.GetString(), name, number,
                   Keys.SetValue(Key.Get(), name, RegistryNumber, bytes, 4) ? " (failed)" : "");
  }

private:
  void Logged(const char *name, const char *text, long status) {
    Record.Write("Registry: %s%s, %s = %s%s", ListsKey, Name.GetString(),
                 name ? name : "(default)", text, status ? " (failed)" : "");
  }

  // Declared first, so that the entry's key closes before the levels above it.
  KeyPath Path;
  Registry &Keys;
  Log &Record;
  CString Name;
  OpenedKey Key;
};

} // namespace

const char *EditionVersion(int edition) { return edition == 1 ? "4.2" : "3.1.1"; }

void WriteAppPathEntry(Registry &registry, Log &log, const CString &installFolder) {
  EntryKey entry(registry, log, "App Paths", MainExecutableName);
  entry.SetText(nullptr, installFolder + "\\" + MainExecutableName);
  entry.SetText("Path", installFolder);
}

void WriteUninstallEntry(Registry &registry, Log &log, const CString &installFolder,
                         const InstalledProduct &product) {
  const char *version = EditionVersion(product.Edition);
  EntryKey entry(registry, log, "Uninstall", ProductName);
  entry.SetText("DisplayName", ProductName);
  // Quoted, so that a folder with blanks cannot make Windows run a program named by the
  // part of the path before the first blank.
  entry.SetText("UninstallString", "\"" + installFolder + "\\uninstall.exe\"");
  entry.SetText("DisplayVersion", version);
  // Both versions have one digit before and after their first dot.
  entry.SetNumber("VersionMajor", static_cast<uint32_t>(version[0] - '0'));
  entry.SetNumber("VersionMinor", static_cast<uint32_t>(version[2] - '0'));
  entry.SetText("Publisher", Publisher);
  entry.SetText("DisplayIcon", installFolder + "\\" + MainExecutableName);
  entry.SetText("InstallLocation", installFolder);
  entry.SetText("InstallDate", product.Date);
  entry.SetNumber("EstimatedSize", product.SizeInKilobytes);
  entry.SetNumber("NoModify", 1);
  entry.SetNumber("NoRepair", 1);
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
