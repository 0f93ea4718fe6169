// Which Windows family the program runs on, from GetVersionExA's platform id.
#pragma once

#include "platform/platform_family.h"

// Looks at the low 8 bits of the platform id only: the NT bit wins over the 9x bit, and
// the version numbers play no part.
PlatformFamily ClassifyPlatform(uint32_t platformId);

// NT 3.x and older systems draw flat controls and need the 3-D controls library.
bool NeedsThreeDimensionalControls(uint32_t majorVersion);

extern const char UnsupportedPlatformMessage[];
