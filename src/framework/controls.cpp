#include "framework/controls.h"

BOOL CButton::Create(const char *caption, DWORD style, const RECT &rect, CWnd *parent,
                     UINT id) {
  HWND window = ::CreateWindowExA(0, "BUTTON", caption, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top,
                                  parent ? parent->GetSafeHwnd() : nullptr,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                  ::GetModuleHandleA(nullptr), nullptr);
  if (!window)
    return FALSE;
  SubclassWindow(window);
  return TRUE;
}
