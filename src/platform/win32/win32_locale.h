// The ANSI code page and the time zone of the running system.
#pragma once

#include "base/code_page.h"
#include "platform/time_zone.h"

class Win32CodePage : public CodePage {
public:
  bool IsLeadByte(unsigned char byte) const override;
};

// Uses TzSpecificLocalTimeToSystemTime where the system has it, and otherwise the
// zone's yearly rule (ConvertByZoneRule).
class Win32TimeZone : public TimeZone {
public:
  bool LocalTimeToFileTime(const LocalTime &time, FileTime *fileTime) override;
  bool FileTimeToLocalTime(FileTime fileTime, LocalTime *time) override;
  CString Today() override;
};

// The conversion by the yearly daylight-saving rule that GetTimeZoneInformation
// reports, as systems before Windows XP need it.
bool ConvertByZoneRule(const LocalTime &time, FileTime *fileTime);
