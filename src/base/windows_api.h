// The one way into <windows.h> for this program: the same narrow set of declarations
// for every file, on every compiler, on both the i686 and the x86_64 build.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0501
#endif
#ifndef STRICT
#define STRICT
#endif

#include <windows.h>
