// The platform's time zone: turns a wall-clock time of a given date into a file time,
// with daylight saving as the zone's rules decide for that date (not as they stand
// today).
#pragma once

#include "base/cstring.h"
#include "platform/file_time.h"

// A wall-clock date and time in the local time zone.
struct LocalTime {
  int Year;
  int Month;  // 1 to 12
  int Day;    // 1 to 31
  int Hour;   // 0 to 23
  int Minute; // 0 to 59
  int Second; // 0 to 59
};

class TimeZone {
protected:
  // Implementations are destroyed as what they are, never through this interface.
  ~TimeZone() = default;

public:
  // Returns false when the time cannot be converted.
  virtual bool LocalTimeToFileTime(const LocalTime &time, FileTime *fileTime) = 0;
  // The wall-clock time of a file time, by the bias in force now, as a log shows it;
  // false when it cannot be converted.
  virtual bool FileTimeToLocalTime(FileTime fileTime, LocalTime *time) = 0;
  // Today's local date as the uninstall entry records it, "YYYYMMDD".
  virtual CString Today() = 0;
};
