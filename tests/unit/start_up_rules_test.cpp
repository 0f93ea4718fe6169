#include "app/platform_check.h"
#include "setup_dialog/default_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PlatformClassification, LooksOnlyAtTheLowByteAndLetTheNtBitWin) {
  struct Case {
    uint32_t PlatformId;
    PlatformFamily Expected;
  } cases[] = {
      {0, UnsupportedPlatform},   // Win32s
      {1, Windows9xFamily},       // Windows 95, 98, Me
      {2, WindowsNtFamily},       // every NT release
      {3, WindowsNtFamily},       // both bits: NT wins
      {0x102, WindowsNtFamily},   // bits above the low byte are ignored...
      {0x101, Windows9xFamily},
      {0x100, UnsupportedPlatform}, // ...so this is still Win32s
      {0xFFFFFF04, UnsupportedPlatform},
  };
  for (const Case &c : cases)
    EXPECT_EQ(ClassifyPlatform(c.PlatformId), c.Expected) << "platform id " << c.PlatformId;
}

TEST(PlatformClassification, OnlySystemsBeforeVersion4NeedTheThreeDimensionalLook) {
  EXPECT_TRUE(NeedsThreeDimensionalControls(3));
  EXPECT_FALSE(NeedsThreeDimensionalControls(4));
  EXPECT_FALSE(NeedsThreeDimensionalControls(10));
}

TEST(DefaultInstallFolder, IsBelowProgramFilesOnTheWindowsDriveOrElseBelowTheWindowsFolder) {
  struct Case {
    const char *WindowsFolder;
    const char *Expected;
  } cases[] = {
      {"C:\\WINDOWS", "C:\\Program Files\\Corvane Software\\Vistrel"},
      {"d:\\winnt", "D:\\Program Files\\Corvane Software\\Vistrel"},
      {"C:\\", "C:\\Program Files\\Corvane Software\\Vistrel"},
      {"\\\\server\\windows", "\\\\server\\windows\\Corvane Software\\Vistrel"},
      {"1:\\windows", "1:\\windows\\Corvane Software\\Vistrel"},
      {"C", "C\\Corvane Software\\Vistrel"},
      // A failed query leaves the text empty: drive C: is assumed.
      {"", "C:\\Program Files\\Corvane Software\\Vistrel"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(std::string(DefaultInstallFolder(c.WindowsFolder)), c.Expected)
        << "Windows folder \"" << c.WindowsFolder << "\"";
}

} // namespace
