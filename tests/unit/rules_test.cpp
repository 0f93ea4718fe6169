// Rules that need no platform: the counted string, the platform classification, the
// default install folder and the yearly daylight-saving rule.
#include "app/platform_check.h"
#include "framework/cstring.h"
#include "platform/zone_rules.h"
#include "setup_dialog/default_folder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(CString, CountsBytesAppendsFromItselfAndStaysInsideItsText) {
  CString text("abc");
  text += text;
  text += text.GetString() + 4;
  EXPECT_EQ(text, "abcabcbc");
  text = text.GetString() + 6;
  EXPECT_EQ(text, "bc") << "assigning a piece of itself";
  EXPECT_EQ(CString("a\0b", 3).GetLength(), 3) << "a byte count, not a search for NUL";
  CString dir("c:\\D\xe4r");
  dir.MakeUpperAscii();
  EXPECT_EQ(dir, "C:\\D\xe4R");
  EXPECT_EQ(dir.Left(99), dir);
  EXPECT_EQ(dir.Left(-1), "");
  EXPECT_EQ(dir.Mid(99), "");
  dir.Truncate(99);
  EXPECT_EQ(dir.Mid(3), "D\xe4R");
  // A buffer filled without a NUL ends where the caller said, or else at its end.
  std::strcpy(dir.GetBuffer(10), "abc");
  dir.ReleaseBuffer(2);
  EXPECT_EQ(dir, "ab");
  std::memset(dir.GetBuffer(4), 'x', 4);
  dir.ReleaseBuffer();
  EXPECT_EQ(dir, "xxxx");
  CString moved(static_cast<CString &&>(dir));
  EXPECT_TRUE(dir.IsEmpty() && moved == "xxxx");
}

TEST(PlatformCheck, LooksAtTheLowByteOnlyLetsTheNtBitWinAndNeedsThe3DLookBeforeVersion4) {
  const std::pair<uint32_t, PlatformFamily> rows[] = {
      {0, UnsupportedPlatform}, {1, Windows9xFamily},     {2, WindowsNtFamily},
      {3, WindowsNtFamily},     {0x102, WindowsNtFamily}, {0x101, Windows9xFamily},
      {0x100, UnsupportedPlatform}, {0xFFFFFF04, UnsupportedPlatform}};
  for (const auto &[id, family] : rows)
    EXPECT_EQ(ClassifyPlatform(id), family) << "platform id " << id;
  EXPECT_TRUE(NeedsThreeDimensionalControls(3) && !NeedsThreeDimensionalControls(4));
}

TEST(DefaultInstallFolder, IsBelowProgramFilesOnTheWindowsDriveOrElseBelowTheWindowsFolder) {
  const std::pair<const char *, const char *> rows[] = {
      {"C:\\WINDOWS", "C:\\Program Files\\Corvane Software\\Vistrel"},
      {"d:\\winnt", "D:\\Program Files\\Corvane Software\\Vistrel"},
      {"\\\\server\\windows", "\\\\server\\windows\\Corvane Software\\Vistrel"},
      {"1:\\windows", "1:\\windows\\Corvane Software\\Vistrel"},
      {"", "C:\\Program Files\\Corvane Software\\Vistrel"}}; // the query failed
  for (const auto &[windows, folder] : rows)
    EXPECT_EQ(std::string(DefaultInstallFolder(windows)), folder) << windows;
}

TEST(ZoneRules, AppliesTheRuleOfTheDateAsked) {
  // Central Europe: UTC+1, summer from the last Sunday of March 02:00 to that of October
  // 03:00; eastern US before 2007 from the first Sunday of April; Sydney before 2008 across
  // the turn of the year; Tokyo without; and a rule for 2000 only.
  const ZoneRules europe = {-60, 0, -60, {0, 10, 0, 5, 3, 0, 0}, {0, 3, 0, 5, 2, 0, 0}};
  const ZoneRules us = {300, 0, -60, {0, 10, 0, 5, 2, 0, 0}, {0, 4, 0, 1, 2, 0, 0}};
  const ZoneRules sydney = {-600, 0, -60, {0, 3, 0, 5, 3, 0, 0}, {0, 10, 0, 5, 2, 0, 0}};
  const ZoneRules tokyo = {-540, 0, 0, {0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}};
  const ZoneRules once = {-60, 0, -60, {2000, 10, 0, 29, 3, 0, 0}, {2000, 3, 0, 26, 2, 0, 0}};
  const struct {
    const ZoneRules &Rules;
    LocalTime Time;
    long Bias;
  } rows[] = {
      {europe, {2000, 9, 15, 15, 51, 56}, -120}, {europe, {2005, 1, 10, 8, 0, 0}, -60},
      {europe, {2000, 3, 26, 1, 59, 59}, -60},   {europe, {2000, 3, 26, 2, 0, 0}, -120},
      {europe, {2000, 3, 19, 12, 0, 0}, -60},    {europe, {2000, 10, 29, 2, 59, 59}, -120},
      {europe, {2000, 10, 29, 3, 0, 0}, -60},    {europe, {2004, 3, 21, 12, 0, 0}, -60},
      {europe, {2004, 3, 28, 12, 0, 0}, -120},   {us, {2000, 4, 1, 12, 0, 0}, 300},
      {us, {2000, 4, 2, 12, 0, 0}, 240},         {sydney, {2005, 1, 10, 8, 0, 0}, -660},
      {sydney, {2000, 9, 15, 15, 51, 56}, -600}, {sydney, {2000, 10, 29, 2, 0, 0}, -660},
      {tokyo, {2000, 9, 15, 15, 51, 56}, -540},  {once, {2000, 9, 15, 15, 51, 56}, -120},
      {once, {2001, 9, 15, 15, 51, 56}, -60},
  };
  for (const auto &row : rows)
    EXPECT_EQ(UtcBiasMinutes(row.Rules, row.Time), row.Bias)
        << row.Time.Year << "-" << row.Time.Month << "-" << row.Time.Day << " " << row.Time.Hour
        << ":" << row.Time.Minute << ":" << row.Time.Second;
}

} // namespace
