#include "framework/dialog.h"

#include "framework/win_app.h"

CDialog::CDialog(UINT templateId, CWnd *parent) : TemplateId(templateId), Parent(parent) {}

INT_PTR CDialog::DoModal() {
  return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(TemplateId),
                           Parent ? Parent->GetSafeHwnd() : nullptr, &CDialog::DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange exchange(this, saveAndValidate != FALSE);
  ExchangeControlData(&exchange);
  return TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::ExchangeControlData(CDataExchange *) {}

void CDialog::OnOK() {
  if (UpdateData(TRUE))
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnCommand(WPARAM wParam) {
  const UINT code = HIWORD(wParam);
  const UINT id = LOWORD(wParam);
  if (code == BN_CLICKED && id == IDOK) {
    OnOK();
    return TRUE;
  }
  if (code == BN_CLICKED && id == IDCANCEL) {
    OnCancel();
    return TRUE;
  }
  CWinApp *app = AfxGetApp();
  return app && (code == 0 || code == 1) && app->OnCommand(id);
}

namespace {

// The dialog-procedure results that the platform takes as they are, not through
// DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
  switch (message) {
  case WM_CHARTOITEM:
  case WM_COMPAREITEM:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORDLG:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
  case WM_CTLCOLORSCROLLBAR:
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORMSGBOX:
  case WM_INITDIALOG:
  case WM_QUERYDRAGICON:
  case WM_VKEYTOITEM:
    return true;
  default:
    return false;
  }
}

} // namespace

void CDialog::Centre() const {
  RECT area;
  HWND parent = Parent ? Parent->GetSafeHwnd() : nullptr;
  if (parent)
    ::GetWindowRect(parent, &area);
  else if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
    // Systems before Windows 95 and NT 4.0 have no work area: centre on the screen.
    ::SetRect(&area, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  RECT window;
  ::GetWindowRect(Hwnd, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  const int left = area.left + (area.right - area.left - width) / 2;
  const int top = area.top + (area.bottom - area.top - height) / 2;
  ::SetWindowPos(Hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog *self;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CDialog *>(lParam);
    ::SetWindowLongPtrA(window, DWLP_USER, lParam);
    self->Hwnd = window;
    self->Centre();
    return self->OnInitDialog();
  }
  self = reinterpret_cast<CDialog *>(::GetWindowLongPtrA(window, DWLP_USER));
  if (!self)
    return FALSE;

  LRESULT result = 0;
  if (self->DispatchMessageMap(message, wParam, lParam, result)) {
    if (ReturnsResultDirectly(message))
      return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
  }
  if (message == WM_COMMAND)
    return self->OnCommand(wParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, DWLP_USER, 0);
    self->Hwnd = nullptr;
  }
  return FALSE;
}
