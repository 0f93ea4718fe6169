// One press of the Setup dialog's OK button: the checks, the installation itself and
// the dialog's change into a summary, over the platform's services and a view of the
// dialog, so that the whole sequence runs without a window as well as with one.
#pragma once

#include "base/cstring.h"
#include "install/payload_extraction.h"
#include "install/shortcuts.h"
#include "platform/folders.h"
#include "platform/registry.h"

// The buttons that every dialog has under these ids.
const int OkButtonId = 1;
const int CancelButtonId = 2;

// The Setup dialog as the installation sees it: the state of an installation, which the
// dialog keeps for its whole life, and the few things the installation does to it.
class SetupView {
protected:
  // Implementations are destroyed as what they are, never through this interface.
  ~SetupView() = default;

public:
  CString StatusText;
  // -1 none chosen, 0 version 3.1.1, 1 version 4.2.
  int Edition = -1;
  // The folder the dialog proposes; after a successful installation, the folder it used.
  CString InstallFolder;
  int InstallDone = 0;
  int InstallBusy = 0;

  // Ends the dialog as its Cancel button does.
  virtual void CloseAsCancel() = 0;
  // The control exchange: controls to members, and members to controls.
  virtual void ReadControls() = 0;
  virtual void ShowMembers() = 0;
  // The text of the folder edit box as it stands now.
  virtual CString FolderText() = 0;
  virtual void ShowWaitCursor(bool shown) = 0;
  // The browse button is meant by its id, IDC_BROWSE, not the placeholder that shares it.
  virtual void HideControl(int id) = 0;
  virtual void SetControlText(int id, const char *text) = 0;
};

// The services an installation works through.
struct InstallPlatform {
  const PayloadPlatform &Payload;
  Folders &FolderMaker;
  Registry &Keys;
  RegistryKey CurrentUser; // the root HKEY_CURRENT_USER as Keys hands it out
  ShellLinks &Links;
};

// The handler of OK: in the ready state a whole installation; once installed, the end
// of the dialog. Every failure shows one message and leaves the dialog as it was.
InstallOutcome RunInstallation(SetupView &dialog, const InstallPlatform &platform);

// The text without its last character when that is a backslash; exactly one is removed,
// so a drive root D:\ becomes D:.
CString WithoutTrailingBackslash(const CString &text, const CodePage &codePage);
