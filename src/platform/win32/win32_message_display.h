// Messages shown in the program's message box.
#pragma once

#include "platform/message_display.h"

class Win32MessageDisplay : public MessageDisplay {
public:
  void Show(const char *text) override;
};
