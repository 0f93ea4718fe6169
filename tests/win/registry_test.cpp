// The registration entries written to and read from the real registry.
#include "install/registration.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char AppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\KWB.exe";
const char UninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vistrel Image Browser";

struct StoredValue {
  LONG Status = -1;
  DWORD Type = 0;
  std::string Bytes;
};

StoredValue Read(const char *key, const char *name) {
  StoredValue value;
  HKEY handle = nullptr;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, key, &handle) != ERROR_SUCCESS)
    return value;
  char buffer[1024];
  DWORD size = sizeof buffer;
  value.Status = RegQueryValueExA(handle, name, nullptr, &value.Type,
                                  reinterpret_cast<BYTE *>(buffer), &size);
  if (value.Status == ERROR_SUCCESS)
    value.Bytes.assign(buffer, size);
  RegCloseKey(handle);
  return value;
}

bool KeyExists(const char *key) {
  HKEY handle = nullptr;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, key, &handle) != ERROR_SUCCESS)
    return false;
  RegCloseKey(handle);
  return true;
}

void SetPath(const std::string &bytes) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, AppPathKey, &handle), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(handle, "Path", 0, REG_SZ, reinterpret_cast<const BYTE *>(bytes.data()),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
  RegCloseKey(handle);
}

std::string WithNul(const std::string &text) { return std::string(text.c_str(), text.size() + 1); }

class RealRegistry : public ::testing::Test {
protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, AppPathKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, UninstallKey);
  }
  Win32Registry Registry;
};

TEST_F(RealRegistry, WritersStoreStringsWithTheirNulAndTheReaderFindsTheFolder) {
  const std::string folder = "C:\\Program Files\\Corvane Software\\Vistrel";
  WriteAppPathEntry(Registry, folder.c_str());
  WriteUninstallEntry(Registry, folder.c_str());

  const struct {
    const char *Key, *Name;
    std::string Text;
  } expected[] = {
      {AppPathKey, "", folder + "\\KWB.exe"},
      {AppPathKey, "Path", folder},
      {UninstallKey, "DisplayName", "Vistrel Image Browser"},
      {UninstallKey, "UninstallString", "\"" + folder + "\\uninstall.exe\""},
  };
  for (const auto &want : expected) {
    StoredValue value = Read(want.Key, want.Name);
    EXPECT_EQ(value.Status, ERROR_SUCCESS) << want.Name;
    EXPECT_EQ(value.Type, static_cast<DWORD>(REG_SZ)) << want.Name;
    EXPECT_EQ(value.Bytes, WithNul(want.Text)) << want.Name << ": the NUL is stored too";
  }
  EXPECT_EQ(std::string(ReadPreviousInstallFolder(Registry)), folder);

  WriteAppPathEntry(Registry, "D:\\Other");
  EXPECT_EQ(std::string(ReadPreviousInstallFolder(Registry)), "D:\\Other");
  EXPECT_EQ(Read(AppPathKey, "").Bytes, WithNul("D:\\Other\\KWB.exe"));
}

TEST_F(RealRegistry, ReaderOnAClearSystemFindsNothingAndCreatesNothing) {
  EXPECT_TRUE(ReadPreviousInstallFolder(Registry).IsEmpty());
  EXPECT_FALSE(KeyExists(AppPathKey));

  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, AppPathKey, &handle), ERROR_SUCCESS);
  RegCloseKey(handle);
  EXPECT_TRUE(ReadPreviousInstallFolder(Registry).IsEmpty()) << "the key without a Path value";
}

TEST_F(RealRegistry, PathOf261BytesFitsAnd262DoNot) {
  const std::string longest(260, 'p');
  SetPath(WithNul(longest));
  EXPECT_EQ(std::string(ReadPreviousInstallFolder(Registry)), longest);
  SetPath(WithNul(longest + "q"));
  EXPECT_TRUE(ReadPreviousInstallFolder(Registry).IsEmpty());
}

} // namespace
