#include "framework/win_app.h"

namespace {

CWinApp *TheApp = nullptr;

CString ModulePath() {
  CString path;
  char *buffer = path.GetBuffer(MAX_PATH);
  DWORD length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  path.ReleaseBuffer(length < MAX_PATH ? static_cast<int>(length) : MAX_PATH);
  return path;
}

// Offset of the extension's dot in the path's file name, or the length when there is none.
int ExtensionStart(const CString &path, int nameStart) {
  int dot = path.GetLength();
  for (int i = nameStart; i < path.GetLength(); ++i)
    if (path.GetAt(i) == '.')
      dot = i;
  return dot;
}

int FileNameStart(const CString &path) {
  int start = 0;
  for (const char *p = path.GetString(); *p; p = ::CharNextA(p))
    if (*p == '\\' || *p == '/' || *p == ':')
      start = static_cast<int>(p - path.GetString()) + 1;
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
  CString path = ModulePath();
  path.Truncate(ExtensionStart(path, FileNameStart(path)));
  path += ".HLP";
  ::WinHelpA(MainWindow ? MainWindow->GetSafeHwnd() : nullptr, path, HELP_FINDER, 0);
}

CWinApp *AfxGetApp() { return TheApp; }

const char *AfxGetAppName() {
  static CString name;
  if (name.IsEmpty()) {
    CString path = ModulePath();
    int start = FileNameStart(path);
    name = path.Mid(start).Left(ExtensionStart(path, start) - start);
  }
  return name;
}
