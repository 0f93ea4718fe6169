#include "framework/data_exchange.h"

#include "framework/dialog.h"

void DDX_Control(CDataExchange *exchange, int id, CWnd &control) {
  if (!control.GetSafeHwnd())
    control.Attach(exchange->Dialog->GetDlgItem(id));
}

void DDX_Text(CDataExchange *exchange, int id, CString &text) {
  HWND control = exchange->Dialog->GetDlgItem(id);
  if (exchange->SaveAndValidate)
    text = WindowText(control);
  else
    ::SetWindowTextA(control, text);
}

void DDX_Radio(CDataExchange *exchange, int id, int &position) {
  HWND first = exchange->Dialog->GetDlgItem(id);
  if (exchange->SaveAndValidate)
    position = -1;
  int place = 0;
  for (HWND control = first; control; control = ::GetWindow(control, GW_HWNDNEXT)) {
    if (control != first && (::GetWindowLongA(control, GWL_STYLE) & WS_GROUP))
      break;
    if (!(::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
      continue;
    if (exchange->SaveAndValidate) {
      if (::SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
        position = place;
    } else {
      ::SendMessageA(control, BM_SETCHECK, place == position ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    ++place;
  }
}
