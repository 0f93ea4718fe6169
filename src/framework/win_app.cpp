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

} // namespace

CWinApp::CWinApp() : MainWindow(nullptr) { TheApp = this; }

CWinApp::~CWinApp() {
  if (TheApp == this)
    TheApp = nullptr;
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
