#include "app/setup_app.h"

#include "app/silent_setup.h"
#include "app/three_d_controls.h"
#include "resource_ids.h"
#include "app/win32_install_platform.h"
#include "framework/message_box.h"
#include "install/payload_sums.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_message_display.h"
#include "setup_dialog/setup_dialog.h"

namespace {

ThreeDimensionalControls ThreeD;

const char AlreadyRunningMessage[] = "Setup is already running";
const char LogNotCreatedMessage[] = "Cannot create the log file";
// The name every running copy of the installer holds in its session.
const char RunningSetupName[] = "Vistrel Image Browser Setup";
const char FamilyNames[][10] = {"Win32s", "95 family", "NT family"};

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
  // The 95 family keeps the version numbers in the build number's high word.
  FileLog.Write("Windows %u.%u.%u, %s, code page %u", version.dwMajorVersion,
                version.dwMinorVersion, version.dwBuildNumber & 0xFFFF, FamilyNames[family],
                ::GetACP());
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
  const char *const commandLine = ::GetCommandLineA();
  const Win32CodePage codePage;
  const CommandLine line = ParseCommandLine(ProgramArguments(commandLine), codePage);
  Win32MessageDisplay boxes;
  StandardErrorDisplay errorStream(FileLog);
  MessageDisplay &messages = line.Silent ? static_cast<MessageDisplay &>(errorStream) : boxes;
  if (!line.Valid) {
    if (line.Silent)
      WriteLineToStandardError(CommandLineUsage);
    else
      boxes.Show(CommandLineUsage);
    ExitCodeValue = ExitBadCommandLine;
    return FALSE;
  }
  // One setup at a time in a session: a second copy changes nothing, not even the first
  // one's log, so it is turned away before the log is made.
  const ScopedFileHandle running(::CreateMutexA(nullptr, FALSE, RunningSetupName));
  if (running && ::GetLastError() == ERROR_ALREADY_EXISTS) {
    messages.Show(AlreadyRunningMessage);
    if (line.Silent)
      ExitCodeValue = ExitAlreadyRunning;
    return FALSE;
  }
  if (!line.LogFile.IsEmpty() && !FileLog.Open(line.LogFile)) {
    messages.Show(LogNotCreatedMessage);
    ExitCodeValue = ExitBadCommandLine;
    return FALSE;
  }
  MessageLog = &FileLog;
  FileLog.Write("Setup of Vistrel Image Browser " KWB_VERSION_TEXT);
  FileLog.Write("Command line: %s", commandLine);
  if (!CheckPlatform(messages)) {
    if (line.Silent)
      ExitCodeValue = ExitUnsupportedPlatform;
    return FALSE;
  }
  const PlatformFamily family = static_cast<PlatformFamily>(PlatformCode);
  Win32InstallPlatform install(messages, FileLog, family);
  // A damaged download installs nothing: the payload is checked before anything is asked.
  if (!IsPayloadIntact(install.Get().Payload.Resources)) {
    messages.Show(DamagedSetupMessage);
    if (line.Silent)
      ExitCodeValue = ExitDamagedInstaller;
    return FALSE;
  }
  if (line.Silent) {
    ExitCodeValue = RunSilentInstallation(line, install.Get());
    Installed = ExitCodeValue == ExitInstalled;
    return FALSE;
  }
  {
    Win32BrowserPlatform browser(family);
    CSetupDialog dialog(install.Get(), browser.Get());
    dialog.Edition = line.Edition;
    dialog.CommandLineFolder = line.Folder;
    MainWindow = &dialog;
    dialog.DoModal();
    MainWindow = nullptr;
    Installed = dialog.InstallDone != 0;
  }
  return FALSE;
}

int CSetupApp::ExitInstance() {
  ThreeD.Disable();
  FileLog.Write("Outcome: %s, exit code %u", OutcomeText(ExitCodeValue, Installed),
                static_cast<unsigned>(ExitCodeValue));
  return ExitCodeValue;
}
