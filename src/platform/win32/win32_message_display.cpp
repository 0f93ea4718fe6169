#include "platform/win32/win32_message_display.h"

#include "base/windows_api.h"

namespace {

// A message as one line for the error stream: each line break becomes a blank, and the
// line ends in a carriage return and a line feed.
CString MessageAsLine(const char *text) {
  CString line;
  for (const char *p = text; *p; ++p) {
    if (p[0] == '\r' && p[1] == '\n') {
      line += ' ';
      ++p;
    } else {
      line += *p;
    }
  }
  line += "\r\n";
  return line;
}

} // namespace

void StandardErrorDisplay::Show(const char *text) { WriteToStandardError(MessageAsLine(text)); }

void WriteToStandardError(const CString &text) {
  HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  if (error == nullptr || error == INVALID_HANDLE_VALUE)
    return;
  DWORD written = 0;
  ::WriteFile(error, text.GetString(), static_cast<DWORD>(text.GetLength()), &written, nullptr);
}
