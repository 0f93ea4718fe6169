// The Setup dialog in this process, for what a second process cannot read: its icons and
// the browse button's, at the size of the display's scale (CTest runs it at 100% and
// 150%), and the help key, which pressed in the dialog or in a message box over it reaches
// the application's command map as the Help command, once per press.
#include "app/win32_install_platform.h"
#include "framework/message_box.h"
#include "framework/win_app.h"
#include "platform/win32/win32_log.h"
#include "setup_dialog/setup_dialog.h"

#include <stdio.h>

namespace {

class HelpCountingApp : public CWinApp {
public:
  int HelpCommands = 0;
  void CountHelp() { ++HelpCommands; }
  const CommandMapEntry *GetCommandMap() const override {
    static const CommandMapEntry commands[] = {
        {ID_HELP, static_cast<void (CWinApp::*)()>(&HelpCountingApp::CountHelp)}, {0, nullptr}};
    return commands;
  }
};

struct HelpKeyCase {
  const char *Where;
  bool InMessageBox;
  WPARAM Key;
  LPARAM KeyData; // bit 30: the key was already down (auto-repeat)
  int HelpCommands;
};

const HelpKeyCase HelpKeyCases[] = {
    {"F1 in the dialog", false, VK_F1, 1, 1},
    {"F1 in a message box over the dialog", true, VK_F1, 1, 1},
    {"F2 in the dialog", false, VK_F2, 1, 0},
    {"F1 held down, repeating", false, VK_F1, 1 | 1 << 30, 0},
};

const HelpKeyCase *Row;
HWND Dialog; // while the dialog is open
int BoxesClosed;
LRESULT Icons[4]; // big, small, dragged, the browse button's

// The width of an icon's pictures; 0 for no icon.
int IconSize(LRESULT icon) {
  ICONINFO info = {};
  BITMAP mask = {};
  GetIconInfo(reinterpret_cast<HICON>(icon), &info);
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
  return mask.bmWidth;
}

// From a thread timer, which fires inside the message box's own modal loop once the key
// posted before it has been read.
void CALLBACK CloseBox(HWND, UINT, UINT_PTR timer, DWORD) {
  // Found by its caption rather than as the active window: on the display the tests share,
  // another test's window can take the activation away.
  HWND box = FindWindowA("#32770", "Help key");
  if (box && GetDlgItem(box, 0xFFFF)) {
    KillTimer(nullptr, timer);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ++BoxesClosed;
  }
}

// From a thread timer inside the dialog's modal loop, once the dialog is shown. Posted to
// the thread's queue, the key is read by whichever modal loop runs next.
void CALLBACK PressTheKey(HWND, UINT, UINT_PTR timer, DWORD) {
  Dialog = AfxGetApp()->MainWindow->GetSafeHwnd();
  if (!Dialog || !IsWindowVisible(Dialog))
    return;
  KillTimer(nullptr, timer);
  Icons[0] = SendMessageA(Dialog, WM_GETICON, ICON_BIG, 0);
  Icons[1] = SendMessageA(Dialog, WM_GETICON, ICON_SMALL, 0);
  Icons[2] = SendMessageA(Dialog, WM_QUERYDRAGICON, 0, 0);
  Icons[3] = SendMessageA(FindWindowExA(Dialog, nullptr, "Button", "Browse"), BM_GETIMAGE,
                          IMAGE_ICON, 0);
  PostMessageA(GetDlgItem(Dialog, IDOK), WM_KEYDOWN, Row->Key, Row->KeyData);
  if (Row->InMessageBox) {
    SetTimer(nullptr, 0, 30, &CloseBox);
    MessageBoxA(Dialog, "Box", "Help key", MB_OK);
  }
  PostMessageA(Dialog, WM_COMMAND, IDCANCEL, 0);
}

} // namespace

// Each row opens the dialog, presses the key and ends the dialog; a line for each check
// that failed, and exit code 1 when one did.
int main() {
  int failures = 0;
  auto check = [&](bool held, const char *what) {
    failures += !held;
    if (!held)
      printf("FAILED: %s: %s\n", Row->Where, what);
  };
  // Icons are 32 and 16 pixels at 96 dots per inch, and in proportion at other scales.
  HDC screen = GetDC(nullptr);
  const int large = MulDiv(32, GetDeviceCaps(screen, LOGPIXELSY), 96), small = large / 2;
  ReleaseDC(nullptr, screen);
  for (const HelpKeyCase &row : HelpKeyCases) {
    Row = &row;
    BoxesClosed = 0;
    HelpCountingApp app;
    Win32MessageDisplay boxes;
    Win32FileLog noLog;
    Win32InstallPlatform install(boxes, noLog, WindowsNtFamily);
    Win32BrowserPlatform browser(WindowsNtFamily);
    CSetupDialog dialog(install.Get(), browser.Get());
    app.MainWindow = &dialog;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, &PressTheKey);
    check(dialog.DoModal() == IDCANCEL, "the dialog ends with Cancel");
    KillTimer(nullptr, timer);
    check(app.HelpCommands == row.HelpCommands, "the Help commands counted");
    check(BoxesClosed == (row.InMessageBox ? 1 : 0), "the message boxes shown");
    const LRESULT icon = reinterpret_cast<LRESULT>(dialog.AppIcon);
    check(icon && Icons[0] == icon && Icons[2] == icon && IconSize(icon) == large,
          "the big and the drag icon are the application icon at the large size");
    check(IconSize(Icons[1]) == small && IconSize(Icons[3]) == small,
          "the small icon and the browse button's are at the small size");
  }
  printf("%s\n", failures ? "FAILED" : "passed");
  return failures ? 1 : 0;
}
