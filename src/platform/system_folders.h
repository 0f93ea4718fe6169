// The platform's own folders, where shared libraries are installed.
#pragma once

#include "base/cstring.h"

class SystemFolders {
protected:
  // Implementations are destroyed as what they are, never through this interface.
  ~SystemFolders() = default;

public:
  // The system folder as the platform reports it (no trailing backslash except for a
  // drive root), or "" when it cannot be read or does not fit in 260 characters.
  virtual CString SystemFolder() = 0;
  // The Windows folder, under the same rules.
  virtual CString WindowsFolder() = 0;
};
