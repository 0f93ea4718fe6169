// The Setup dialog: the install folder, the status text, the edition choice, OK and
// Cancel. It holds all state of an installation for the whole run of the program.
#pragma once

#include "resource_ids.h"
#include "framework/controls.h"
#include "folder_browser/folder_dialog.h"
#include "framework/dialog.h"
#include "install/installation_run.h"
#include "setup_dialog/icon_button.h"

// The installation's state (StatusText, Edition, InstallFolder, InstallDone, InstallBusy)
// comes with SetupView, through which the installation run reads and reshapes the dialog.
// SetupView is the first base: its many calls then reach the dialog without an
// adjustment of the object's address, which only the few dialog calls need.
class CSetupDialog : public SetupView, public CDialog {
public:
  enum { IDD = IDD_SETUP };

  // The installation and the folder browser work through the services handed in, which
  // outlive the dialog.
  CSetupDialog(const InstallPlatform &install, const FolderBrowserPlatform &browser,
               CWnd *parent = nullptr);

  CIconButton BrowseButton;
  CButton Version42Radio;
  CButton Version311Radio;
  CButton BrowsePlaceholder;
  CStatic PathLabel;
  CEdit PathEdit;
  HICON AppIcon;
  // The folder /D= gave on the command line, shown instead of the proposal; "" for none.
  CString CommandLineFolder;

protected:
  BOOL OnInitDialog() override { return InitialiseSetupDialog(); }
  void ExchangeControlData(CDataExchange *exchange) override;

  BOOL InitialiseSetupDialog();
  void PaintMinimised();
  LRESULT QueryDragIcon();
  void OnInstall();
  void BrowseForFolder();

  void CloseAsCancel() override { OnCancel(); }
  void ReadControls() override { UpdateData(TRUE); }
  void ShowMembers() override { UpdateData(FALSE); }
  CString FolderText() override { return PathEdit.GetWindowText(); }
  void ShowWaitCursor(bool shown) override;
  void HideControl(int id) override;
  void SetControlText(int id, const char *text) override;

private:
  void CreateBrowseButton();

  HCURSOR CursorBeforeWait;
  const InstallPlatform &Install;
  const FolderBrowserPlatform &Browser;

  DECLARE_MESSAGE_MAP()
};
