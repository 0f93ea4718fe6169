// Control exchange: one routine per dialog moves data between its controls and its
// members, in the direction the exchange object gives.
#pragma once

#include "framework/wnd.h"

class CDialog;

class CDataExchange {
public:
  CDataExchange(CDialog *dialog, bool saveAndValidate)
      : Dialog(dialog), SaveAndValidate(saveAndValidate) {}

  CDialog *const Dialog;
  // true: from the controls into the members; false: from the members into the controls.
  const bool SaveAndValidate;
};

// Attaches the wrapper to the dialog's control, once.
void DDX_Control(CDataExchange *exchange, int id, CWnd &control);
// The control's window text and a string member.
void DDX_Text(CDataExchange *exchange, int id, CString &text);
// A radio group starting at control id and a position: -1 for none checked, else the
// checked radio button's place among the group's radio buttons. The group runs in
// z-order up to the next control with WS_GROUP; controls that are not radio buttons
// take no place.
void DDX_Radio(CDataExchange *exchange, int id, int &position);
