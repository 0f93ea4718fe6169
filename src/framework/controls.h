// Borrowing wrappers for the standard controls: each call sends one message.
#pragma once

#include "framework/wnd.h"

class CButton : public CWnd {
public:
  // Creates a BUTTON child window and routes its messages through this object's map.
  BOOL Create(const char *caption, DWORD style, const RECT &rect, CWnd *parent, UINT id);

  HICON SetIcon(HICON icon) const {
    return reinterpret_cast<HICON>(
        SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
  }
  int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
  void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

class CEdit : public CWnd {};

class CStatic : public CWnd {};
