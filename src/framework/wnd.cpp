#include "framework/wnd.h"

const MessageMapEntry CWnd::MessageEntries[] = {MessageMapEntry()};
const MessageMap CWnd::Map = {nullptr, CWnd::MessageEntries};

CWnd::CWnd() : Hwnd(nullptr), OriginalProc(nullptr), DefaultRequested(false) {}

CString WindowText(HWND window) {
  CString text;
  int length = ::GetWindowTextLengthA(window);
  if (length > 0) {
    char *buffer = text.GetBuffer(length);
    int copied = ::GetWindowTextA(window, buffer, length + 1);
    text.ReleaseBuffer(copied > 0 ? copied : 0);
  }
  return text;
}

bool CWnd::DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  NMHDR *header = message == WM_NOTIFY ? reinterpret_cast<NMHDR *>(lParam) : nullptr;
  UINT code = 0, id = 0;
  if (message == WM_COMMAND) {
    code = HIWORD(wParam);
    id = LOWORD(wParam);
  } else if (header) {
    code = header->code;
    id = static_cast<UINT>(header->idFrom);
  }
  for (const MessageMap *map = GetMessageMap(); map; map = map->Base) {
    for (const MessageMapEntry *entry = map->Entries; entry->Kind != MessageMapEntry::NoHandler;
         ++entry) {
      if (entry->Message != message || entry->Code != code || entry->Id != id)
        continue;
      // A handler may run a nested message loop (a message box) that dispatches to this
      // window again; keep each level's request for the default apart.
      const bool outerRequest = DefaultRequested;
      DefaultRequested = false;
      result = 0;
      switch (entry->Kind) {
      case MessageMapEntry::VoidKind:
        (this->*entry->VoidHandler)();
        break;
      case MessageMapEntry::ResultKind:
        result = (this->*entry->ResultHandler)();
        break;
      default:
        (this->*entry->NotifyHandler)(header, &result);
        break;
      }
      const bool handled = !DefaultRequested;
      DefaultRequested = outerRequest;
      return handled;
    }
  }
  return false;
}

void CWnd::SubclassWindow(HWND window) {
  Hwnd = window;
  ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  OriginalProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
      window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
}

LRESULT CALLBACK CWnd::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd *self = reinterpret_cast<CWnd *>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self)
    return ::DefWindowProcA(window, message, wParam, lParam);
  WNDPROC original = self->OriginalProc;
  if (message == WM_NCDESTROY) {
    // The window goes away; give it its own procedure back and forget it.
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->Hwnd = nullptr;
    return ::CallWindowProcA(original, window, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (self->DispatchMessageMap(message, wParam, lParam, result))
    return result;
  return ::CallWindowProcA(original, window, message, wParam, lParam);
}
