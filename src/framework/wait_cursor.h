// Shows the hourglass for as long as the object lives.
#pragma once

#include "base/windows_api.h"

class CWaitCursor {
public:
  CWaitCursor() : Previous(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
  CWaitCursor(const CWaitCursor &) = delete;
  CWaitCursor &operator=(const CWaitCursor &) = delete;
  ~CWaitCursor() { ::SetCursor(Previous); }

private:
  HCURSOR Previous;
};
