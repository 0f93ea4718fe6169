#include "platform/win32/win32_message_display.h"

#include "base/windows_api.h"

#include <string.h>

void StandardErrorDisplay::Show(const char *text) {
  const CString line = OnOneLine(text);
  Record.Write("Message: %s", line.GetString());
  WriteLineToStandardError(line);
}

void WriteLineToStandardError(const char *text) {
  HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  if (error == nullptr || error == INVALID_HANDLE_VALUE)
    return;
  const char *const parts[] = {text, "\r\n"};
  for (const char *part : parts) {
    DWORD written = 0;
    ::WriteFile(error, part, static_cast<DWORD>(strlen(part)), &written, nullptr);
  }
}
