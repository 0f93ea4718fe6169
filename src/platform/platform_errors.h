// The platform's error numbers that the installation logic tells apart. They are the
// values GetLastError reports, so that an error can travel from the file system to the
// caller unchanged; every implementation of the platform interfaces speaks them.
#pragma once

#include <stdint.h>

const uint32_t ErrorFileNotFound = 2;
const uint32_t ErrorPathNotFound = 3;
const uint32_t ErrorAccessDenied = 5;
const uint32_t ErrorBadLength = 24;
const uint32_t ErrorSharingViolation = 32;
const uint32_t ErrorHandleDiskFull = 39;
const uint32_t ErrorFileExists = 80;
const uint32_t ErrorCallNotImplemented = 120;
const uint32_t ErrorDiskFull = 112;
const uint32_t ErrorBadPathname = 161;
const uint32_t ErrorAlreadyExists = 183;
