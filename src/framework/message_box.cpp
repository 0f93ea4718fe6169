#include "framework/message_box.h"

#include "framework/win_app.h"

int AfxMessageBox(const char *text, UINT type) {
  if ((type & MB_ICONMASK) == 0)
    type |= MB_ICONEXCLAMATION;
  CWinApp *app = AfxGetApp();
  if (app && app->MessageLog)
    app->MessageLog->Write("Message: %s", OnOneLine(text).GetString());
  // The box belongs to the window the user works in: a dialog that the main window has
  // opened, if there is one, so that the box is modal to it and not only to the main
  // window, which that dialog has already disabled.
  HWND main = app && app->MainWindow ? app->MainWindow->GetSafeHwnd() : nullptr;
  HWND owner = main ? ::GetLastActivePopup(main) : ::GetActiveWindow();
  char title[MAX_PATH + 1];
  return ::MessageBoxA(owner, text, AfxGetAppName(title), type);
}

void Win32MessageDisplay::Show(const char *text) { AfxMessageBox(text, MB_OK); }
