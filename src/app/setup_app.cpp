#include "app/setup_app.h"

#include "app/silent_setup.h"
#include "app/three_d_controls.h"
#include "app/win32_install_platform.h"
#include "framework/message_box.h"
#include "install/payload_sums.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_message_display.h"
#include "setup_dialog/setup_dialog.h"

namespace {

ThreeDimensionalControls ThreeD;

const CommandMapEntry SetupAppCommands[] = {
    {ID_HELP, &CWinApp::OnHelp},
    {0, nullptr},
};

} // namespace

const CommandMapEntry *CSetupApp::GetCommandMap() const { return SetupAppCommands; }

bool CSetupApp::CheckPlatform(MessageDisplay &messages) {
  OSVERSIONINFOA version;
  ::ZeroMemory(&version, sizeof version);
  static_assert(sizeof version == 148, "the version record is the platform's 148-byte one");
  version.dwOSVersionInfoSize = sizeof version;
  ::GetVersionExA(&version);
  PlatformFamily family = ClassifyPlatform(version.dwPlatformId);
  if (family == UnsupportedPlatform) {
    messages.Show(UnsupportedPlatformMessage);
    return false;
  }
  PlatformCode = family;
  if (NeedsThreeDimensionalControls(version.dwMajorVersion))
    ThreeD.Enable(::GetModuleHandleA(nullptr));
  return true;
}

BOOL CSetupApp::InitInstance() {
  const CommandLine line = ParseCommandLine(ProgramArguments(::GetCommandLineA()));
  Win32MessageDisplay boxes;
  StandardErrorDisplay errorStream;
  MessageDisplay &messages = line.Silent ? static_cast<MessageDisplay &>(errorStream) : boxes;
  if (!line.Valid) {
    if (line.Silent)
      WriteToStandardError(CString(CommandLineUsage) + "\r\n");
    else
      boxes.Show(CommandLineUsage);
    ExitCodeValue = ExitBadCommandLine;
    return FALSE;
  }
  if (!CheckPlatform(messages)) {
    if (line.Silent)
      ExitCodeValue = ExitUnsupportedPlatform;
    return FALSE;
  }
  Win32InstallPlatform install(messages);
  // A damaged download installs nothing: the payload is checked before anything is asked.
  if (!IsPayloadIntact(install.Get().Payload.Resources)) {
    messages.Show(DamagedSetupMessage);
    if (line.Silent)
      ExitCodeValue = ExitDamagedInstaller;
    return FALSE;
  }
  if (line.Silent) {
    RunSilently(line, install.Get());
    return FALSE;
  }
  {
    Win32BrowserPlatform browser(static_cast<PlatformFamily>(PlatformCode));
    CSetupDialog dialog(install.Get(), browser.Get());
    dialog.Edition = line.Edition;
    dialog.CommandLineFolder = line.Folder;
    MainWindow = &dialog;
    dialog.DoModal();
    MainWindow = nullptr;
  }
  return FALSE;
}

void CSetupApp::RunSilently(const CommandLine &line, const InstallPlatform &platform) {
  const CString folder =
      SilentInstallFolder(line, platform.Keys, platform.Payload.Folders.WindowsFolder());
  ExitCodeValue = RunSilentInstallation(line.Edition, folder, platform);
}

int CSetupApp::ExitInstance() {
  ThreeD.Disable();
  return ExitCodeValue;
}
