// The time zone for the native tests: the C library's mktime with daylight saving left
// for it to decide (tm_isdst = -1), in the zone that the TZ variable names. The tests
// set TZ to a POSIX rule, so that results do not depend on the machine.
#pragma once

#include "platform/time_zone.h"

#include <string>

class HostTimeZone : public TimeZone {
public:
  bool LocalTimeToFileTime(const LocalTime &time, FileTime *fileTime) override;
};

// Sets TZ for its lifetime and puts the previous value back afterwards.
class ScopedTimeZone {
public:
  explicit ScopedTimeZone(const char *rule);
  ~ScopedTimeZone();
  ScopedTimeZone(const ScopedTimeZone &) = delete;
  ScopedTimeZone &operator=(const ScopedTimeZone &) = delete;

private:
  bool HadValue;
  std::string Previous;
};

// Central European time: one hour ahead of UTC, two from the last Sunday of March at
// 02:00 to the last Sunday of October at 03:00.
extern const char CentralEuropeanRule[];

// The file time of a UTC date and time, computed without any time zone.
FileTime UtcFileTime(int year, int month, int day, int hour, int minute, int second);
