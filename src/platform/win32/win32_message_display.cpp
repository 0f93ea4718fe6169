#include "platform/win32/win32_message_display.h"

#include "framework/message_box.h"

void Win32MessageDisplay::Show(const char *text) { AfxMessageBox(text, MB_OK); }
