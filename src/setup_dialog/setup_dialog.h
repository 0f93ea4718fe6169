// The Setup dialog: the install folder, the status text, the edition choice, OK and
// Cancel. It holds all state of an installation for the whole run of the program.
#pragma once

#include "resource_ids.h"
#include "framework/controls.h"
#include "framework/dialog.h"

class CIconButton;

class CSetupDialog : public CDialog {
public:
  enum { IDD = IDD_SETUP };

  explicit CSetupDialog(CWnd *parent = nullptr);
  ~CSetupDialog() override;

  CIconButton *BrowseButton;
  CButton Version42Radio;
  CButton Version311Radio;
  CButton BrowsePlaceholder;
  CStatic PathLabel;
  CEdit PathEdit;
  CString StatusText;
  // -1 none chosen, 0 version 3.1.1, 1 version 4.2.
  int Edition;
  // The folder the dialog proposes; the installation stores the folder it used here.
  CString InstallFolder;
  HICON AppIcon;
  int InstallDone;
  int InstallBusy;

protected:
  BOOL OnInitDialog() override { return InitialiseSetupDialog(); }
  void ExchangeControlData(CDataExchange *exchange) override;

  BOOL InitialiseSetupDialog();
  void PaintMinimised();
  LRESULT QueryDragIcon();
  void OnInstall();
  void BrowseForFolder();

private:
  void CreateBrowseButton();

  DECLARE_MESSAGE_MAP()
};
