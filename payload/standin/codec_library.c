/* Stand-in for ijl15.dll, the JPEG codec library that the image browser loads. It decodes
 * nothing; it carries a version record and reports its version, which is all the
 * installer's handling of the library (a file with a date) needs to be exercised. */
#include <windows.h>

#include "codec_version.h"

/* The version as (major << 24) | (minor << 16) | (patch << 8) | build, the same four
 * numbers as the FILEVERSION of the version record. */
__declspec(dllexport) DWORD StandInCodecVersion(void) {
  return (DWORD)CODEC_VERSION_MAJOR << 24 | (DWORD)CODEC_VERSION_MINOR << 16 |
         (DWORD)CODEC_VERSION_PATCH << 8 | (DWORD)CODEC_VERSION_BUILD;
}

/* What this library is, as its version record's FileDescription says. */
__declspec(dllexport) const char *StandInCodecDescription(void) { return CODEC_DESCRIPTION; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}
