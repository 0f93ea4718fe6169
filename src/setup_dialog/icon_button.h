// The browse button: a push button that shows an icon and does not take the focus
// the usual way. Its WM_SETFOCUS handler does nothing, so the button's own focus
// handling never runs for it.
#pragma once

#include "framework/controls.h"

class CIconButton : public CButton {
private:
  void IgnoreFocus() {}

  DECLARE_MESSAGE_MAP()
};
