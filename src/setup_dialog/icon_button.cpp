#include "setup_dialog/icon_button.h"

BEGIN_MESSAGE_MAP(CIconButton, CButton)
ON_MESSAGE_VOID(WM_SETFOCUS, &CIconButton::IgnoreFocus)
END_MESSAGE_MAP()
