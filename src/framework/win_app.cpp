#include "framework/win_app.h"

#include <string.h>

namespace {

CWinApp *TheApp = nullptr;

// Fills path (MAX_PATH + 1 bytes) with the program's own path without the extension of
// its file name, and returns the offset at which the file name starts.
int ModulePathWithoutExtension(char *path) {
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  path[length < MAX_PATH ? length : MAX_PATH] = '\0';
  int start = 0;
  char *dot = nullptr;
  // A dot is never the trail byte of a double-byte character; a backslash can be.
  for (char *p = path; *p; p = ::CharNextA(p)) {
    if (*p == '\\' || *p == '/' || *p == ':') {
      start = static_cast<int>(p - path) + 1;
      dot = nullptr;
    } else if (*p == '.') {
      dot = p;
    }
  }
  if (dot)
    *dot = '\0';
  return start;
}

// F1 pressed on its own and not held down; Shift+F1 and the like are left to the window.
bool IsHelpKey(const MSG &message) {
  return message.message == WM_KEYDOWN && message.wParam == VK_F1 &&
         !(HIWORD(message.lParam) & KF_REPEAT) && ::GetKeyState(VK_SHIFT) >= 0 &&
         ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0;
}

} // namespace

CWinApp::CWinApp() : MainWindow(nullptr), MessageLog(nullptr) {
  TheApp = this;
  HelpKeyHook = ::SetWindowsHookExA(WH_MSGFILTER, &CWinApp::HelpKeyFilter, nullptr,
                                    ::GetCurrentThreadId());
}

CWinApp::~CWinApp() {
  if (HelpKeyHook)
    ::UnhookWindowsHookEx(HelpKeyHook);
  if (TheApp == this)
    TheApp = nullptr;
}

LRESULT CALLBACK CWinApp::HelpKeyFilter(int code, WPARAM wParam, LPARAM lParam) {
  CWinApp *app = TheApp;
  // Message boxes run the same modal loop as dialogs and report it the same way.
  if (app && (code == MSGF_DIALOGBOX || code == MSGF_MENU) &&
      IsHelpKey(*reinterpret_cast<const MSG *>(lParam))) {
    HWND main = app->MainWindow ? app->MainWindow->GetSafeHwnd() : nullptr;
    if (main)
      ::SendMessageA(main, WM_COMMAND, ID_HELP, 0);
    else
      app->OnCommand(ID_HELP);
    return TRUE;
  }
  return ::CallNextHookEx(app ? app->HelpKeyHook : nullptr, code, wParam, lParam);
}

bool CWinApp::OnCommand(UINT id) {
  for (const CommandMapEntry *entry = GetCommandMap(); entry && entry->Id; ++entry) {
    if (entry->Id == id) {
      (this->*entry->Handler)();
      return true;
    }
  }
  return false;
}

void CWinApp::OnHelp() {
  // Room for the extension after the path.
  char path[MAX_PATH + 5];
  ModulePathWithoutExtension(path);
  memcpy(path + strlen(path), ".HLP", 5);
  ::WinHelpA(MainWindow ? MainWindow->GetSafeHwnd() : nullptr, path, HELP_FINDER, 0);
}

CWinApp *AfxGetApp() { return TheApp; }

const char *AfxGetAppName(char *buffer) {
  return buffer + ModulePathWithoutExtension(buffer);
}
