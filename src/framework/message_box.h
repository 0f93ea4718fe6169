// The program's message box: the application's name as its title, the main window (or
// the dialog it has open) as its owner, and the exclamation icon when the caller asks
// for none.
#pragma once

#include "base/windows_api.h"
#include "platform/message_display.h"

int AfxMessageBox(const char *text, UINT type = MB_OK);

// Messages shown in the program's message box, with only an OK button.
class Win32MessageDisplay : public MessageDisplay {
public:
  void Show(const char *text) override;
};
