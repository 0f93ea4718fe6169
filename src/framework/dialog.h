// CDialog: a modal dialog on a template of the program's resources. Derived dialogs
// name their template, override the initialisation hook and the control exchange, and
// list their handlers in a message map; what they leave out gets the defaults here:
// OK exchanges and ends the dialog with IDOK, Cancel (the button, Escape or the close
// box) ends it with IDCANCEL, anything else goes to the platform's dialog handling.
#pragma once

#include "framework/data_exchange.h"
#include "framework/wnd.h"

class CDialog : public CWnd {
public:
  explicit CDialog(UINT templateId, CWnd *parent = nullptr);

  // Runs the dialog until EndDialog; returns its result, or -1 when it could not be shown.
  INT_PTR DoModal();
  void EndDialog(int result) const { ::EndDialog(Hwnd, result); }
  // Runs the control exchange in the given direction (true: controls to members).
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

protected:
  // WM_INITDIALOG. The default moves the members into the controls and lets the platform
  // put the focus on the first tab stop.
  virtual BOOL OnInitDialog();
  virtual void ExchangeControlData(CDataExchange *exchange);
  virtual void OnOK();
  virtual void OnCancel();

private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Commands the message map does not take: OK, Cancel, then the application's commands.
  BOOL OnCommand(WPARAM wParam);
  // Every dialog opens centred over its parent, or on the work area when it has none:
  // the program's templates leave their placement to it (at 0, 0, without DS_CENTER).
  void Centre() const;

  const UINT TemplateId;
  CWnd *const Parent;
};
