// The Windows family the program runs on, as the start-up check records it.
#pragma once

#include <stdint.h>

enum PlatformFamily : int32_t {
  UnsupportedPlatform = 0, // Win32s: the installer refuses to run.
  Windows9xFamily = 1,
  WindowsNtFamily = 2,
};
