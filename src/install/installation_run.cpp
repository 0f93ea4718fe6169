#include "install/installation_run.h"

#include "install/folder_creation.h"
#include "base/path_characters.h"
#include "install/registration.h"
#include "install/shortcuts.h"
#include "platform/platform_errors.h"
#include "resource_ids.h"

namespace {

const char SelectVersionRequest[] = "Please select the version to install";
const char FolderFailure[] = "Cannot create directory";
const char FolderTooLong[] = "Cannot create directory\r\nPath length exceeds 256";
const char SuccessText[] =
    "The program has been successfully installed\r\n\r\nA shortcut (named KWB) can be found on "
    "Windows Desktop and in \"Programs\" of Windows \"Start\".";
const char CloseCaption[] = "Close";

// The hourglass from the moment a run starts until it returns, whichever way it ends.
class WaitCursorShown {
public:
  explicit WaitCursorShown(SetupView &view) : View(view) { View.ShowWaitCursor(true); }
  WaitCursorShown(const WaitCursorShown &) = delete;
  WaitCursorShown &operator=(const WaitCursorShown &) = delete;
  ~WaitCursorShown() { View.ShowWaitCursor(false); }

private:
  SetupView &View;
};

// Everything but the status text and the Close button goes, hidden rather than
// disabled, so that the dialog reads as a summary.
void ShowAsSummary(SetupView &dialog) {
  static const short hidden[] = {IDC_BROWSE,     OkButtonId,    IDC_VERSION_311,
                                 IDC_VERSION_42, IDC_PATH_EDIT, IDC_PATH_LABEL};
  dialog.StatusText = SuccessText;
  dialog.ShowMembers();
  dialog.SetControlText(CancelButtonId, CloseCaption);
  for (short id : hidden)
    dialog.HideControl(id);
}

// The installation proper, from the shell folders to the registration entries.
InstallOutcome Install(SetupView &dialog, const InstallPlatform &platform) {
  const PayloadPlatform &payload = platform.Payload;
  const CodePage &codePage = payload.Characters;
  Log &log = payload.Record;
  ShellFolders shellFolders = LookUpShellFolders(platform.Keys, platform.CurrentUser);
  // What the edit box holds now is installed into, whatever the dialog proposed.
  CString folder = WithoutTrailingBackslash(dialog.FolderText(), codePage);
  const CString earlier = ReadPreviousInstallFolder(platform.Keys);
  log.Write("Installing edition %s into %s; earlier installation: %s",
            EditionVersion(dialog.Edition), folder.GetString(),
            earlier.IsEmpty() ? "none" : earlier.GetString());
  uint32_t created = CreateFolderPath(platform.FolderMaker, log, codePage, folder);
  if (created != 0) {
    payload.Messages.Show(created == ErrorBadLength ? FolderTooLong : FolderFailure);
    return InstallFolderRefused;
  }
  uint32_t installedBytes = 0;
  const InstallOutcome extracted = ExtractPayload(payload, folder, dialog.Edition, &installedBytes);
  if (extracted != InstallCompleted)
    return extracted;

  ShowAsSummary(dialog);
  platform.Links.InitialiseCom();
  const CString target = PathIn(folder, PayloadFileNames[0]);
  PlaceShortcut(platform.Links, log, codePage, shellFolders.Desktop, target);
  PlaceShortcut(platform.Links, log, codePage, shellFolders.Programs, target);
  // The registration entries take the folder from here, and a later installation in
  // the same run of the program would propose it.
  dialog.InstallFolder = folder;
  WriteAppPathEntry(platform.Keys, log, dialog.InstallFolder);
  const InstalledProduct product = {dialog.Edition, (installedBytes + 1023) / 1024,
                                    payload.Clock.Today()};
  WriteUninstallEntry(platform.Keys, log, dialog.InstallFolder, product);
  platform.Links.UninitialiseCom();
  return InstallCompleted;
}

} // namespace

InstallOutcome RunInstallation(SetupView &dialog, const InstallPlatform &platform) {
  if (dialog.InstallDone) {
    dialog.CloseAsCancel();
    return InstallNotRun;
  }
  dialog.ReadControls();
  if (dialog.Edition < 0) {
    platform.Payload.Messages.Show(SelectVersionRequest);
    return InstallNotRun;
  }
  // A press that arrives while a message box of a running installation is open.
  if (dialog.InstallBusy)
    return InstallNotRun;
  WaitCursorShown wait(dialog);
  dialog.InstallBusy = 1;
  InstallOutcome outcome = Install(dialog, platform);
  if (outcome == InstallCompleted)
    dialog.InstallDone = 1;
  dialog.InstallBusy = 0;
  return outcome;
}

CString WithoutTrailingBackslash(const CString &text, const CodePage &codePage) {
  return EndsWithBackslash(text, codePage) ? text.Left(text.GetLength() - 1) : text;
}
