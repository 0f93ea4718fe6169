#include "platform/win32/win32_log.h"

#include <stdarg.h>

bool Win32FileLog::Open(const char *path) {
  // Others may read the log while the run goes on, but nobody else writes into it.
  HANDLE file = ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  File.Reset(file);
  return true;
}

void Win32FileLog::Write(const char *format, ...) {
  if (!File)
    return;
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  // wsprintf writes at most 1,024 characters and their NUL.
  char line[24 + 1025 + 2];
  int length = ::wsprintfA(line, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth,
                           now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
  va_list arguments;
  va_start(arguments, format);
  length += ::wvsprintfA(line + length, format, arguments);
  va_end(arguments);
  line[length++] = '\r';
  line[length++] = '\n';
  DWORD written = 0;
  ::WriteFile(File.Get(), line, static_cast<DWORD>(length), &written, nullptr);
}
