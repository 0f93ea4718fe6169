#include "host_time_zone.h"

#include <cstdlib>
#include <ctime>

namespace {

// Seconds from 1601-01-01 to 1970-01-01.
const long long UnixEpochInFileTimeSeconds = 11644473600LL;

FileTime FromUnixSeconds(long long seconds) {
  return static_cast<FileTime>(seconds + UnixEpochInFileTimeSeconds) * FileTimeTicksPerSecond;
}

} // namespace

const char CentralEuropeanRule[] = "CET-1CEST,M3.5.0,M10.5.0/3";

bool HostTimeZone::LocalTimeToFileTime(const LocalTime &time, FileTime *fileTime) {
  std::tm local = {};
  local.tm_year = time.Year - 1900;
  local.tm_mon = time.Month - 1;
  local.tm_mday = time.Day;
  local.tm_hour = time.Hour;
  local.tm_min = time.Minute;
  local.tm_sec = time.Second;
  local.tm_isdst = -1;
  std::time_t seconds = std::mktime(&local);
  if (seconds == static_cast<std::time_t>(-1))
    return false;
  *fileTime = FromUnixSeconds(seconds);
  return true;
}

ScopedTimeZone::ScopedTimeZone(const char *rule) {
  const char *previous = std::getenv("TZ");
  HadValue = previous != nullptr;
  if (previous)
    Previous = previous;
  setenv("TZ", rule, 1);
  tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
  if (HadValue)
    setenv("TZ", Previous.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

FileTime UtcFileTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm utc = {};
  utc.tm_year = year - 1900;
  utc.tm_mon = month - 1;
  utc.tm_mday = day;
  utc.tm_hour = hour;
  utc.tm_min = minute;
  utc.tm_sec = second;
  return FromUnixSeconds(timegm(&utc));
}
