// The yearly daylight-saving rule of a time zone in the form the Windows 95 and NT 4
// families publish it (TIME_ZONE_INFORMATION with transitions given as "the n-th
// weekday of a month"), and the offset it gives for a local date and time. Systems from
// then offer no conversion that applies a zone's rule to a date other than today; the
// Win32 time zone uses this one there, and the platform's own everywhere else.
#pragma once

#include "platform/time_zone.h"

// One yearly transition. Month 0 means the zone has no daylight saving. With Year 0
// the transition recurs every year on the Week-th DayOfWeek (0 = Sunday) of Month, Week
// 5 meaning the last one; with a Year it happens once, on Day of Month in that year.
// The time is the wall-clock time at which the change happens. The fields are those of
// the platform's date record, in its order.
struct ZoneTransition {
  uint16_t Year;
  uint16_t Month;
  uint16_t DayOfWeek;
  uint16_t Week; // also the day of the month when Year is set
  uint16_t Hour;
  uint16_t Minute;
  uint16_t Second;
  uint16_t Milliseconds; // not used
};

// Biases are minutes to add to local time to get UTC, as Windows counts them.
struct ZoneRules {
  long Bias;
  long StandardBias;
  long DaylightBias;
  ZoneTransition StandardStart; // the end of daylight saving
  ZoneTransition DaylightStart; // the start of daylight saving
};

namespace zone_rules_detail {

inline bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

inline int DaysInMonth(int year, int month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// 0 = Sunday, for any date of the Gregorian calendar.
inline int DayOfWeek(int year, int month, int day) {
  static const int monthOffsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3)
    year -= 1;
  return (year + year / 4 - year / 100 + year / 400 + monthOffsets[month - 1] + day) % 7;
}

// The day of the month on which the transition falls in year, or 0 when it does not
// happen that year.
inline int TransitionDay(const ZoneTransition &transition, int year) {
  if (transition.Year != 0)
    return transition.Year == year ? transition.Week : 0;
  int first = 1 + (transition.DayOfWeek - DayOfWeek(year, transition.Month, 1) + 7) % 7;
  int day = first + 7 * (transition.Week - 1);
  while (day > DaysInMonth(year, transition.Month))
    day -= 7;
  return day;
}

// A moment within a year as one number that orders like the calendar; the largest,
// the end of December 31st, is about 36 million, well within 32 bits (and a nonsense
// date from the system only orders wrongly, without overflow).
inline uint32_t YearMoment(int month, int day, int hour, int minute, int second) {
  return ((((month * 32u + day) * 24 + hour) * 60 + minute) * 60) + second;
}

inline uint32_t TransitionMoment(const ZoneTransition &transition, int year, bool *happens) {
  int day = TransitionDay(transition, year);
  *happens = day != 0;
  return YearMoment(transition.Month, day, transition.Hour, transition.Minute,
                    transition.Second);
}

} // namespace zone_rules_detail

// True when the rules put the local time in daylight saving.
inline bool IsDaylightSaving(const ZoneRules &rules, const LocalTime &time) {
  using namespace zone_rules_detail;
  if (rules.StandardStart.Month == 0 || rules.DaylightStart.Month == 0)
    return false;
  bool daylightHappens = false;
  bool standardHappens = false;
  uint32_t daylight = TransitionMoment(rules.DaylightStart, time.Year, &daylightHappens);
  uint32_t standard = TransitionMoment(rules.StandardStart, time.Year, &standardHappens);
  if (!daylightHappens || !standardHappens)
    return false;
  uint32_t now = YearMoment(time.Month, time.Day, time.Hour, time.Minute, time.Second);
  // North of the equator daylight saving lies inside the year; south of it, it spans
  // the turn of the year.
  if (daylight < standard)
    return now >= daylight && now < standard;
  return now >= daylight || now < standard;
}

// Minutes to add to the local time to get UTC.
inline long UtcBiasMinutes(const ZoneRules &rules, const LocalTime &time) {
  return rules.Bias + (IsDaylightSaving(rules, time) ? rules.DaylightBias : rules.StandardBias);
}
