#include "platform/win32/win32_message_display.h"

#include "base/windows_api.h"

void StandardErrorDisplay::Show(const char *text) {
  const CString line = OnOneLine(text);
  Record.Write("Message: %s", line.GetString());
  WriteToStandardError(line + "\r\n");
}

void WriteToStandardError(const CString &text) {
  HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  if (error == nullptr || error == INVALID_HANDLE_VALUE)
    return;
  DWORD written = 0;
  ::WriteFile(error, text.GetString(), static_cast<DWORD>(text.GetLength()), &written, nullptr);
}
