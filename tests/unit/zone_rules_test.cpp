// The yearly daylight-saving rule, as the Win32 time zone applies it on systems that
// cannot convert a date other than today's themselves.
#include "platform/zone_rules.h"

#include <gtest/gtest.h>

namespace {

// Central Europe: UTC+1, daylight saving from the last Sunday of March at 02:00 to the
// last Sunday of October at 03:00.
const ZoneRules CentralEurope = {-60, 0, -60, {0, 10, 0, 5, 3, 0, 0}, {0, 3, 0, 5, 2, 0, 0}};
// Eastern US before 2007: UTC-5, from the first Sunday of April to the last of October.
const ZoneRules EasternUs = {300, 0, -60, {0, 10, 0, 5, 2, 0, 0}, {0, 4, 0, 1, 2, 0, 0}};
// New South Wales before 2008: UTC+10, daylight saving from the last Sunday of October
// to the last Sunday of March, across the turn of the year.
const ZoneRules Sydney = {-600, 0, -60, {0, 3, 0, 5, 3, 0, 0}, {0, 10, 0, 5, 2, 0, 0}};
// A zone without daylight saving.
const ZoneRules Tokyo = {-540, 0, 0, {0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}};
// A rule that holds for one year only (an absolute date).
const ZoneRules OneYear = {-60, 0, -60, {2000, 10, 0, 29, 3, 0, 0}, {2000, 3, 0, 26, 2, 0, 0}};

TEST(ZoneRules, AppliesTheRuleOfTheDateAsked) {
  struct Case {
    const char *Name;
    const ZoneRules &Rules;
    LocalTime Time;
    long ExpectedBias;
  } cases[] = {
      {"library time, Central Europe", CentralEurope, {2000, 9, 15, 15, 51, 56}, -120},
      {"product time, Central Europe", CentralEurope, {2005, 1, 10, 8, 0, 0}, -60},
      // 2000-03-26 and 2000-10-29 were the last Sundays.
      {"just before the spring change", CentralEurope, {2000, 3, 26, 1, 59, 59}, -60},
      {"at the spring change", CentralEurope, {2000, 3, 26, 2, 0, 0}, -120},
      {"a week before the last Sunday of March", CentralEurope, {2000, 3, 19, 12, 0, 0}, -60},
      {"just before the autumn change", CentralEurope, {2000, 10, 29, 2, 59, 59}, -120},
      {"at the autumn change", CentralEurope, {2000, 10, 29, 3, 0, 0}, -60},
      // March 2004 had five Sundays, the last on the 28th.
      {"fourth Sunday of a five-Sunday March", CentralEurope, {2004, 3, 21, 12, 0, 0}, -60},
      {"fifth Sunday of a five-Sunday March", CentralEurope, {2004, 3, 28, 12, 0, 0}, -120},
      // April 2000 began on a Saturday: the first Sunday was the 2nd.
      {"first Saturday of April", EasternUs, {2000, 4, 1, 12, 0, 0}, 300},
      {"first Sunday of April", EasternUs, {2000, 4, 2, 12, 0, 0}, 240},
      {"library time, Eastern US", EasternUs, {2000, 9, 15, 15, 51, 56}, 240},
      {"southern summer, January", Sydney, {2005, 1, 10, 8, 0, 0}, -660},
      {"southern winter, September", Sydney, {2000, 9, 15, 15, 51, 56}, -600},
      {"southern spring change", Sydney, {2000, 10, 29, 2, 0, 0}, -660},
      {"no daylight saving", Tokyo, {2000, 9, 15, 15, 51, 56}, -540},
      {"absolute rule, its own year", OneYear, {2000, 9, 15, 15, 51, 56}, -120},
      {"absolute rule, another year", OneYear, {2001, 9, 15, 15, 51, 56}, -60},
  };
  for (const Case &c : cases)
    EXPECT_EQ(UtcBiasMinutes(c.Rules, c.Time), c.ExpectedBias) << c.Name;
}

} // namespace
