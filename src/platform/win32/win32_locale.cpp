#include "platform/win32/win32_locale.h"

#include "base/windows_api.h"
#include "platform/win32/file_time_conversion.h"
#include "platform/zone_rules.h"

#include <string.h>

namespace {

typedef BOOL(WINAPI *ZoneConversion)(TIME_ZONE_INFORMATION *, SYSTEMTIME *, SYSTEMTIME *);

// TzSpecificLocalTimeToSystemTime applies the zone's rule for the date given; it came
// with Windows XP, and the program must still start where it is missing, so it is
// looked up rather than imported.
ZoneConversion PlatformZoneConversion() {
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  if (!kernel)
    return nullptr;
  return reinterpret_cast<ZoneConversion>(reinterpret_cast<void (*)()>(
      ::GetProcAddress(kernel, "TzSpecificLocalTimeToSystemTime")));
}

ZoneTransition TransitionOf(const SYSTEMTIME &date) {
  static_assert(sizeof(ZoneTransition) == sizeof(SYSTEMTIME),
                "the same fields in the same order");
  ZoneTransition transition;
  memcpy(&transition, &date, sizeof transition);
  return transition;
}

__attribute__((noinline)) SYSTEMTIME SystemTimeOf(const LocalTime &time) {
  SYSTEMTIME result = {};
  result.wYear = static_cast<WORD>(time.Year);
  result.wMonth = static_cast<WORD>(time.Month);
  result.wDay = static_cast<WORD>(time.Day);
  result.wHour = static_cast<WORD>(time.Hour);
  result.wMinute = static_cast<WORD>(time.Minute);
  result.wSecond = static_cast<WORD>(time.Second);
  return result;
}

LocalTime LocalTimeOf(const SYSTEMTIME &time) {
  return LocalTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

} // namespace

bool ConvertByZoneRule(const LocalTime &time, FileTime *fileTime) {
  TIME_ZONE_INFORMATION zone;
  if (::GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
    return false;
  ZoneRules rules = {zone.Bias, zone.StandardBias, zone.DaylightBias,
                     TransitionOf(zone.StandardDate), TransitionOf(zone.DaylightDate)};
  SYSTEMTIME local = SystemTimeOf(time);
  FILETIME wallClock;
  if (!::SystemTimeToFileTime(&local, &wallClock))
    return false;
  long long bias = UtcBiasMinutes(rules, time);
  *fileTime = FromFileTime(wallClock) + bias * 60 * static_cast<long long>(FileTimeTicksPerSecond);
  return true;
}

bool Win32CodePage::IsLeadByte(unsigned char byte) const { return ::IsDBCSLeadByte(byte) != FALSE; }

bool Win32TimeZone::LocalTimeToFileTime(const LocalTime &time, FileTime *fileTime) {
  ZoneConversion convert = PlatformZoneConversion();
  if (!convert)
    return ConvertByZoneRule(time, fileTime);
  SYSTEMTIME local = SystemTimeOf(time);
  SYSTEMTIME universal;
  FILETIME result;
  if (!convert(nullptr, &local, &universal) || !::SystemTimeToFileTime(&universal, &result))
    return false;
  *fileTime = FromFileTime(result);
  return true;
}

bool Win32TimeZone::FileTimeToLocalTime(FileTime fileTime, LocalTime *time) {
  const FILETIME universal = ToFileTime(fileTime);
  FILETIME local;
  SYSTEMTIME fields;
  if (!::FileTimeToLocalFileTime(&universal, &local) || !::FileTimeToSystemTime(&local, &fields))
    return false;
  *time = LocalTimeOf(fields);
  return true;
}

CString Win32TimeZone::Today() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  char date[12];
  ::wsprintfA(date, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  return date;
}
