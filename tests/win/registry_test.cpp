// The registration entries in the real registry: the writers' values as the platform
// stores them, read back. The reader's limits are end-to-end scenarios.
#include "install/registration.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char AppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\KWB.exe";
const char UninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vistrel Image Browser";

// The value's type and bytes as "type:bytes", or "missing".
std::string Stored(const char *key, const char *name) {
  char buffer[1024];
  DWORD type = 0, size = sizeof buffer;
  HKEY handle = nullptr;
  LONG status = RegOpenKeyA(HKEY_LOCAL_MACHINE, key, &handle);
  if (status == ERROR_SUCCESS) {
    status =
        RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size);
    RegCloseKey(handle);
  }
  return status != ERROR_SUCCESS ? "missing"
                                 : std::to_string(type) + ":" + std::string(buffer, size);
}

TEST(RealRegistry, WritersStoreStringsWithTheirNulAndTheReaderFindsTheFolder) {
  Win32Registry registry;
  WriteAppPathEntry(registry, "C:\\Vistrel");
  WriteUninstallEntry(registry, "C:\\Vistrel");
  const struct {
    const char *Key, *Name, *Text;
  } rows[] = {
      {AppPathKey, "", "C:\\Vistrel\\KWB.exe"},
      {AppPathKey, "Path", "C:\\Vistrel"},
      {UninstallKey, "DisplayName", "Vistrel Image Browser"},
      {UninstallKey, "UninstallString", "\"C:\\Vistrel\\uninstall.exe\""},
  };
  for (const auto &row : rows)
    EXPECT_EQ(Stored(row.Key, row.Name), "1:" + std::string(row.Text) + '\0') << row.Name;
  EXPECT_STREQ(ReadPreviousInstallFolder(registry), "C:\\Vistrel");
}

} // namespace
