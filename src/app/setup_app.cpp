#include "app/setup_app.h"

#include "app/three_d_controls.h"
#include "framework/message_box.h"
#include "setup_dialog/setup_dialog.h"

namespace {

ThreeDimensionalControls ThreeD;

const CommandMapEntry SetupAppCommands[] = {
    {ID_HELP, &CWinApp::OnHelp},
    {0, nullptr},
};

} // namespace

const CommandMapEntry *CSetupApp::GetCommandMap() const { return SetupAppCommands; }

CSetupApp &SetupApp() { return *static_cast<CSetupApp *>(AfxGetApp()); }

bool CSetupApp::CheckPlatform() {
  OSVERSIONINFOA version;
  ::ZeroMemory(&version, sizeof version);
  static_assert(sizeof version == 148, "the version record is the platform's 148-byte one");
  version.dwOSVersionInfoSize = sizeof version;
  ::GetVersionExA(&version);
  PlatformFamily family = ClassifyPlatform(version.dwPlatformId);
  if (family == UnsupportedPlatform) {
    AfxMessageBox(UnsupportedPlatformMessage, MB_OK);
    return false;
  }
  PlatformCode = family;
  if (NeedsThreeDimensionalControls(version.dwMajorVersion))
    ThreeD.Enable(::GetModuleHandleA(nullptr));
  return true;
}

BOOL CSetupApp::InitInstance() {
  if (!CheckPlatform())
    return FALSE;
  {
    CSetupDialog dialog;
    MainWindow = &dialog;
    dialog.DoModal();
    MainWindow = nullptr;
  }
  return FALSE;
}

int CSetupApp::ExitInstance() {
  ThreeD.Disable();
  return 0;
}
