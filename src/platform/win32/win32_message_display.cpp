#include "platform/win32/win32_message_display.h"

#include "app/silent_setup.h"
#include "framework/message_box.h"

void Win32MessageDisplay::Show(const char *text) { AfxMessageBox(text, MB_OK); }

void StandardErrorDisplay::Show(const char *text) { WriteToStandardError(MessageAsLine(text)); }

void WriteToStandardError(const CString &text) {
  HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  if (error == nullptr || error == INVALID_HANDLE_VALUE)
    return;
  DWORD written = 0;
  ::WriteFile(error, text.GetString(), static_cast<DWORD>(text.GetLength()), &written, nullptr);
}
