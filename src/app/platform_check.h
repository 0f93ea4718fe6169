// Which Windows family the program runs on, from GetVersionExA's platform id.
#pragma once

#include <stdint.h>

enum PlatformFamily : int32_t {
  UnsupportedPlatform = 0, // Win32s: the installer refuses to run.
  Windows9xFamily = 1,
  WindowsNtFamily = 2,
};

// Looks at the low 8 bits of the platform id only: the NT bit wins over the 9x bit, and
// the version numbers play no part.
PlatformFamily ClassifyPlatform(uint32_t platformId);

// NT 3.x and older systems draw flat controls and need the 3-D controls library.
bool NeedsThreeDimensionalControls(uint32_t majorVersion);

extern const char UnsupportedPlatformMessage[];
