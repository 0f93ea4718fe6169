// The log as a file: created (or emptied) once, and each line written to it at once, so
// that a run that is killed leaves its log up to that moment. Before Open succeeds, and
// when no log was asked for, lines go nowhere.
#pragma once

#include "platform/log.h"
#include "platform/win32/file_handle.h"

class Win32FileLog : public Log {
public:
  Win32FileLog() : File(INVALID_HANDLE_VALUE) {}

  // Returns false when the file cannot be created.
  bool Open(const char *path);
  // "YYYY-MM-DD hh:mm:ss.mmm line" and a carriage return and line feed.
  void Write(const char *format, ...) override;

private:
  ScopedFileHandle File;
};
