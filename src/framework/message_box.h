// The program's message box: the application's name as its title, the main window (or
// the dialog it has open) as its owner, and the exclamation icon when the caller asks
// for none.
#pragma once

#include "base/windows_api.h"

int AfxMessageBox(const char *text, UINT type = MB_OK);
