// The install folder proposed when no earlier installation is recorded.
#pragma once

#include "base/cstring.h"

// "X:\Program Files\Corvane Software\Vistrel" on the drive of the Windows folder, or
// "<windows folder>\Corvane Software\Vistrel" when that folder does not start with a
// drive letter and a colon (a network path, say). When the Windows folder could not be
// had at all (empty text), drive C: is assumed rather than proposing a folder on
// whatever drive happens to be current.
CString DefaultInstallFolder(const CString &windowsFolder);
