#include "app/platform_check.h"

const char UnsupportedPlatformMessage[] = "Only Windows 95, 98 or NT4.0";

PlatformFamily ClassifyPlatform(uint32_t platformId) {
  uint32_t low = platformId & 0xFF;
  if (low & 2)
    return WindowsNtFamily;
  if (low & 1)
    return Windows9xFamily;
  return UnsupportedPlatform;
}

bool NeedsThreeDimensionalControls(uint32_t majorVersion) { return majorVersion < 4; }
