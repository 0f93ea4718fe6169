// File times as the platform keeps them: 100-nanosecond intervals since 1601-01-01 UTC.
#pragma once

#include <stdint.h>

typedef uint64_t FileTime;

const FileTime FileTimeTicksPerSecond = 10000000;

// The three times a file carries.
struct FileTimes {
  FileTime Creation;
  FileTime LastAccess;
  FileTime LastWrite;
};
