#include "framework/message_box.h"

#include "framework/win_app.h"

int AfxMessageBox(const char *text, UINT type) {
  if ((type & MB_ICONMASK) == 0)
    type |= MB_ICONEXCLAMATION;
  CWinApp *app = AfxGetApp();
  HWND owner = app && app->MainWindow ? app->MainWindow->GetSafeHwnd() : ::GetActiveWindow();
  return ::MessageBoxA(owner, text, AfxGetAppName(), type);
}
