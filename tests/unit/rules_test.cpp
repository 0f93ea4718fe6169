// Rules that need no platform: the counted string, the platform classification, the
// default install folder and the yearly daylight-saving rule.
#include "app/platform_check.h"
#include "base/cstring.h"
#include "platform/zone_rules.h"
#include "setup_dialog/default_folder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Rules, CountedStringAppendsFromItselfStaysInsideItsTextAndEndsAFilledBuffer) {
  CString text("abc");
  text += text;
  text += text.GetString() + 4;
  EXPECT_EQ(text, "abcabcbc");
  EXPECT_EQ(CString("a\0b", 3).GetLength(), 3) << "a byte count, not a search for NUL";
  EXPECT_TRUE(text.Left(-1) == "" && text.Left(99) == text && text.Mid(99) == "" && text.Mid(6) == "bc");
  text.Truncate(0); // a buffer filled without a NUL ends where the filling ends
  std::memset(text.GetBuffer(4), 'x', 4);
  text.ReleaseBuffer();
  EXPECT_EQ(text, "xxxx");
  CString moved(static_cast<CString &&>(text));
  EXPECT_TRUE(text.IsEmpty() && moved == "xxxx");
}

TEST(Rules, PlatformAndDefaultFolder) {
  // The NT bit wins; the 3-D look is for versions before 4.
  const std::pair<uint32_t, PlatformFamily> platforms[] = {
      {0, UnsupportedPlatform}, {1, Windows9xFamily},     {2, WindowsNtFamily},
      {3, WindowsNtFamily},     {0x101, Windows9xFamily}, {0xFFFFFF04, UnsupportedPlatform}};
  for (const auto &[id, family] : platforms)
    EXPECT_EQ(ClassifyPlatform(id), family) << "platform id " << id;
  EXPECT_TRUE(NeedsThreeDimensionalControls(3) && !NeedsThreeDimensionalControls(4));
  // Below Program Files on the Windows drive, else below the Windows folder.
  const std::pair<const char *, const char *> folders[] = {
      {"d:\\winnt", "D:\\Program Files"}, {"", "C:\\Program Files"}, // the query failed
      {"\\\\server\\windows", "\\\\server\\windows"}, {"1:\\windows", "1:\\windows"}};
  for (const auto &[windows, folder] : folders)
    EXPECT_EQ(std::string(DefaultInstallFolder(windows)), folder + std::string("\\Corvane Software\\Vistrel"));
}

TEST(Rules, ZoneRulesApplyTheRuleOfTheDateAsked) {
  // Central Europe: UTC+1, summer from the last Sunday of March 02:00 to that of October
  // 03:00 (in 2000 the 26th and the 29th; March 2004 had five Sundays); Sydney before 2008
  // across the turn of the year; the eastern US before 2007 from April's first Sunday (in
  // 2000 the 2nd); a rule for 2000 alone; none.
  const ZoneRules europe = {-60, 0, -60, {0, 10, 0, 5, 3, 0, 0}, {0, 3, 0, 5, 2, 0, 0}};
  const ZoneRules sydney = {-600, 0, -60, {0, 3, 0, 5, 3, 0, 0}, {0, 10, 0, 5, 2, 0, 0}};
  const ZoneRules us = {300, 0, -60, {0, 10, 0, 5, 2, 0, 0}, {0, 4, 0, 1, 2, 0, 0}};
  const ZoneRules once = {-60, 0, -60, {2000, 10, 0, 29, 3, 0, 0}, {2000, 3, 0, 26, 2, 0, 0}};
  const ZoneRules none = {-540, 0, 0, {0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}};
  const struct {
    const ZoneRules &Rules;
    LocalTime Time;
    long Bias;
  } rows[] = {
      {europe, {2000, 3, 26, 1, 59, 59}, -60},   {europe, {2000, 3, 26, 2, 0, 0}, -120},
      {europe, {2000, 10, 29, 2, 59, 59}, -120}, {europe, {2000, 10, 29, 3, 0, 0}, -60},
      {europe, {2004, 3, 21, 12, 0, 0}, -60},    {europe, {2004, 3, 28, 12, 0, 0}, -120},
      {sydney, {2005, 1, 10, 8, 0, 0}, -660},    {sydney, {2000, 9, 15, 15, 51, 56}, -600},
      {us, {2000, 4, 1, 12, 0, 0}, 300},         {us, {2000, 4, 2, 12, 0, 0}, 240},
      {once, {2000, 9, 15, 15, 51, 56}, -120},   {once, {2001, 9, 15, 15, 51, 56}, -60},
      {none, {2000, 9, 15, 15, 51, 56}, -540}};
  for (const auto &row : rows)
    EXPECT_EQ(UtcBiasMinutes(row.Rules, row.Time), row.Bias)
        << row.Time.Year << "-" << row.Time.Month << "-" << row.Time.Day << " " << row.Time.Hour << "h";
}

} // namespace
