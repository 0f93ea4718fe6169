// The platform's two-word file time and the program's 64-bit count of the same ticks.
#pragma once

#include "base/windows_api.h"
#include "platform/file_time.h"

inline FILETIME ToFileTime(FileTime time) {
  FILETIME result;
  result.dwLowDateTime = static_cast<DWORD>(time);
  result.dwHighDateTime = static_cast<DWORD>(time >> 32);
  return result;
}

inline FileTime FromFileTime(const FILETIME &time) {
  return static_cast<FileTime>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}
