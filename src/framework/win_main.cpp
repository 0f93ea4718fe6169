// The program's entry point: hands control to the application object that static
// initialisation constructed.
#include "framework/win_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CWinApp *app = AfxGetApp();
  if (!app)
    return 1;
  // The application runs its one modal dialog inside InitInstance and then returns
  // false; there is no message loop to enter afterwards.
  app->InitInstance();
  return app->ExitInstance();
}
